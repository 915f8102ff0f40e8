// The classic file-system controls the program's windows expect: a drive
// list, a folder list, a file list, and the open-file dialog. They work on
// DOS paths and reach the file system only through the platform layer.
#pragma once

#include "control.h"

#include <QComboBox>
#include <QListWidget>
#include <QString>

#include <functional>

class QFileDialog;

namespace ui::qt {

class DriveList : public ControlOf<QComboBox, ui::DriveList> {
public:
    DriveList(QWidget *parent, const layout::Rect &rect);
    std::string drive() const override;
    bool setDrive(const std::string &path) override;
    void restoreDrive(const std::string &path) override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    int indexOfDrive(const QString &path) const;
    void stepFromFailed(const std::function<void()> &step);
    int mShown = -1;
    int mFailed = -1;  // the entry whose Change failed, while another is shown
};

class FolderList : public ControlOf<QListWidget, ui::FolderList> {
public:
    FolderList(QWidget *parent, const layout::Rect &rect);
    std::string path() const override { return toStd(mPath); }
    bool setPath(const std::string &path) override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    bool moveTo(const QString &path);
    void open(QListWidgetItem *item);
    QString mPath;
};

class FileList : public ControlOf<QListWidget, ui::FileList> {
public:
    FileList(QWidget *parent, const layout::Rect &rect);
    std::string folder() const override { return toStd(mFolder); }
    bool setFolder(const std::string &folder) override;
    int count() const override { return QListWidget::count(); }
    std::string item(int index) const override;

private:
    QString mFolder;
};

// Installs the filters of a "label|pattern|..." text on a Qt file dialog:
// the labels are shown as they stand, and "*.*" also matches names without a
// dot.
void applyDosFilter(QFileDialog &dialog, const QString &filter, int filterIndex);

} // namespace ui::qt
