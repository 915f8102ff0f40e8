// The Qt windows behind the toolkit-free forms: a top-level widget per form
// (a QDialog for the dialogs), drawn on its background picture, holding the
// form's controls.
#pragma once

#include "ui/backend.h"

#include <QDialog>
#include <QMargins>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QEventLoop;

namespace ui::qt {

// What the top-level widget of every form is besides its widget.
class FormWidget {
public:
    virtual ~FormWidget() = default;
    virtual ui::Window &form() const = 0;
    // True while the window's close event is being handled.
    virtual bool inCloseEvent() const = 0;
    // The widgets Tab visits, in order; empty leaves the toolkit's own order.
    virtual void setTabCycle(std::vector<QPointer<QWidget>> cycle) = 0;
};

// The top-level widget of a form.
QWidget *widgetOf(const ui::Window &form);

// Sets a window's title to exactly this text: Qt takes "[*]" in a title as
// the place of its modified mark and would not show it.
void setTitleText(QWidget *window, const QString &title);

// Closes a window whose native window was destroyed from outside, as its
// close command would: a dialog ends its modal loop with its close reaction
// (its own buttons' sounds and actions do not run); the main screen first
// gets a new native window, so that it stays shown behind the exit dialog
// that its closing brings up. A window already unloaded is left alone.
void closeDestroyedWindow(QWidget *window);

// Runs `action` from the event loop: at once when no copy runs (see
// BusyScope), else as soon as the copy has ended.
void whenNotBusy(std::function<void()> action);

class FormWindow : public backend::WindowImpl {
public:
    FormWindow(ui::Window &form, const WindowSetup &setup);
    ~FormWindow() override;

    ui::Picture *addPicture(const layout::Rect &rect, const std::string &name) override;
    ui::HotArea *addHotArea(const layout::Rect &rect) override;
    ui::Label *addLabel(const layout::Rect &rect, ui::LabelStyle style) override;
    ui::ListBox *addListBox(const layout::Rect &rect) override;
    ui::TextPane *addTextPane(const layout::Rect &rect) override;
    ui::TextBox *addTextBox(const layout::Rect &rect) override;
    ui::ProgressBar *addProgressBar(const layout::Rect &rect, const std::string &trough, const std::string &fill,
                                const layout::Rect &fillRect) override;
    ui::DriveList *addDriveList(const layout::Rect &rect) override;
    ui::FolderList *addFolderList(const layout::Rect &rect) override;
    ui::FileList *addFileList(const layout::Rect &rect) override;

    void setTabOrder(const std::vector<Control *> &controls) override;
    void setAccessibleDescription(const std::string &text) override;
    void setTitle(const std::string &title) override;
    std::string title() const override { return mTitle; }
    layout::Rect outerRect() const override;
    void moveOuter(int left, int top) override;
    void showModal() override;
    void showModeless() override;
    bool visible() const override;
    void hide() override;
    void dismiss() override;
    std::uintptr_t nativeHandle() const override;

    QWidget *widget() const { return mWidget; }

private:
    // The frame the window system will give the window, while it is not
    // shown; none once it is (its frame is then measured).
    QMargins expectedFrameNow() const;

    QPointer<QWidget> mWidget;
    std::string mPictures;
    std::string mTitle;
    QEventLoop *mModalLoop = nullptr;  // the main screen's own modal display
};

} // namespace ui::qt
