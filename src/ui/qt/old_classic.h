// The classic file-system controls the program's windows expect: a drive
// list, a folder list, a file list and the open-file dialog. They work on DOS
// paths and reach the file system only through the platform layer.
#pragma once

#include <QComboBox>
#include <QListWidget>
#include <QString>
#include <functional>

class QFileDialog;

namespace ui {

// One entry per drive of the drive table, written "c: [folder]". Choosing an
// entry, or setting another drive from code, is its Change.
class DriveList : public QComboBox {
    Q_OBJECT
public:
    explicit DriveList(QWidget *parent);

    // The chosen drive as "c:".
    QString drive() const;
    // Chooses the drive a path begins with ("C:\", "c:", "C:\GAMES"). False,
    // and nothing changes, when the path names no drive of the table.
    bool setDrive(const QString &path);
    // Shows a drive without a Change (to go back after a failed one). The
    // arrow keys and the wheel then go on from the entry that failed, so that
    // an unreadable drive can be passed over.
    void restoreDrive(const QString &path);

signals:
    void change();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    int indexOfDrive(const QString &path) const;
    void stepFromFailed(const std::function<void()> &step);
    int mShown = -1;
    int mFailed = -1;  // the entry whose Change failed, while another is shown
};

// The current folder's ancestors from the drive's root down, then its
// subfolders, indented like a tree. A double click or Enter on an entry makes
// it the current folder. Setting the path from code or opening an entry is
// its Change when the path differs from the one shown.
class FolderList : public QListWidget {
    Q_OBJECT
public:
    explicit FolderList(QWidget *parent);

    // A DOS path without a trailing separator, except a drive's root ("C:\").
    QString path() const { return mPath; }
    // Moves to a folder. False, and nothing changes, when the folder is
    // missing or cannot be read.
    bool setPath(const QString &path);

signals:
    void change();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void open(QListWidgetItem *item);
    QString mPath;
};

// The ordinary files directly inside a folder, sorted by name without regard
// to case.
class FileList : public QListWidget {
    Q_OBJECT
public:
    explicit FileList(QWidget *parent);

    QString folder() const { return mFolder; }
    // Lists a folder. False, and the list is left as it was, when the folder
    // is missing or cannot be read.
    bool setFolder(const QString &folder);

private:
    QString mFolder;
};

// The open-file dialog: Qt's own dialog, so that it looks and behaves the
// same on every system. Its properties keep their values between uses.
class CommonDialog {
public:
    QString DialogTitle;
    // "label|pattern|label|pattern...". A pattern "*.*" matches every name,
    // those without a dot included.
    QString Filter;
    int FilterIndex = 1;
    // A DOS path.
    QString InitDir;
    // The DOS path of the file picked last; kept when the dialog is cancelled.
    QString FileName;

    // Shows the dialog modally over `owner`. True when a file was picked
    // (FileName then holds it); false when the dialog was cancelled or the
    // picked file has no DOS path.
    bool ShowOpen(QWidget *owner);
};

// Installs the filters of a "label|pattern|..." text on a Qt file dialog:
// the labels are shown as they stand, and "*.*" also matches names without a
// dot.
void applyDosFilter(QFileDialog &dialog, const QString &filter, int filterIndex);

} // namespace ui
