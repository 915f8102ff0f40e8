#include "frmCD.h"

#include "startup/modMain.h"
#include "ui/layout.h"

#include <cstddef>
#include <vector>

namespace {
// Shows nothing, but the label's word wrap may break the line after it.
constexpr const char *kBreakHere = "\u200B";
constexpr const char *kEllipsis = "\u2026";

// The byte offsets at which the code points of a UTF-8 text begin; a stray
// continuation byte is kept with the character before it.
std::vector<std::size_t> codePointStarts(const std::string &text)
{
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 || i == 0)
            starts.push_back(i);
    return starts;
}

// The sentence with the name in place of its "%1".
std::string wholeMessage(const std::string &sentence, const std::string &name)
{
    const std::size_t at = sentence.find("%1");
    return at == std::string::npos ? sentence : sentence.substr(0, at) + name + sentence.substr(at + 2);
}

// The sentence with the name in place of its "%1", as the label can show it
// whole: as it stands, else with the name's "\" as places to wrap, else with
// the fewest characters taken out of the name's middle.
std::string fittedMessage(const ui::Label &label, const std::string &sentence, const std::string &name)
{
    const std::size_t at = sentence.find("%1");
    const auto compose = [&](const std::string &shown) {
        return at == std::string::npos ? sentence : sentence.substr(0, at) + shown + sentence.substr(at + 2);
    };
    const auto wrappable = [](const std::string &shown) {
        std::string text;
        for (char c : shown) {
            text += c;
            if (c == '\\')
                text += kBreakHere;
        }
        return text;
    };
    const std::string whole = wholeMessage(sentence, name);
    if (at == std::string::npos || label.fits(whole))
        return whole;
    const std::vector<std::size_t> starts = codePointStarts(name);
    const std::size_t length = starts.size();
    // The first `count` characters, and the last.
    const auto head = [&](std::size_t count) { return name.substr(0, count < length ? starts[count] : name.size()); };
    const auto tail = [&](std::size_t count) { return count == 0 ? std::string() : name.substr(starts[length - count]); };
    for (std::size_t kept = length; kept > 0; --kept) {
        const std::string shown = kept == length ? name : head(kept - kept / 2) + kEllipsis + tail(kept / 2);
        const std::string text = compose(wrappable(shown));
        if (label.fits(text))
            return text;
    }
    return compose(kEllipsis);
}
} // namespace

frmCD::frmCD()
    : ui::Window({"frmCD", layout::cd::width, layout::cd::height, ui::Frame::Dialog, ""})
{
    namespace L = layout::cd;

    // Created bottom-most first: the message, then the OK button's pictures
    // (at rest, highlight, pressed), then its hot area on top.
    lblInstruction = addLabel(L::lblInstruction, ui::LabelStyle::Message);
    lblInstruction->setName("lblInstruction");
    imgOk2 = addPicture(L::imgOk2, "imgOk2");
    imgOk2->setName("imgOk2");
    imgOk2Light = addPicture(L::imgOk2Light, "imgOk2Light");
    imgOk2Light->setName("imgOk2Light");
    imgOk2Indent = addPicture(L::imgOk2Indent, "imgOk2Indent");
    imgOk2Indent->setName("imgOk2Indent");
    lblOk2 = addHotArea(L::lblOk2);
    lblOk2->setName("lblOk2");
    lblOk2->hide();
    lblOk2->setAccessible(ui::spokenWord(L::okWord), "");
    setTabOrder({lblOk2});

    ui::connectHandlers<frmCD>(this, {
        {onMouseMove, &frmCD::Form_MouseMove},
        {lblOk2->onMouseMove, &frmCD::lblOk2_MouseMove},
        {lblOk2->onFocus, &frmCD::lblOk2_MouseMove},
        {lblOk2->onMouseDown, &frmCD::lblOk2_MouseDown},
        {lblOk2->onMouseUp, &frmCD::lblOk2_MouseUp},
        {lblOk2->onClick, &frmCD::lblOk2_Click},
        {onEscape, &frmCD::lblOk2_Click},
    });
}

void frmCD::Form_MouseMove()
{
    const ui::ImageButton ok = ok2();
    ui::lightsOut({&ok});
}

void frmCD::lblOk2_MouseMove() { ui::rollOver(ok2(), {}, modMain::playSound); }
void frmCD::lblOk2_MouseDown() { ui::pressDown(ok2()); }
void frmCD::lblOk2_MouseUp() { ui::release(ok2()); }

void frmCD::lblOk2_Click()
{
    // OK acts whatever its pressed look shows: its click has no guard.
    ui::clickPasses({lblOk2, imgOk2Light, nullptr}, modMain::playSound);
    unload();
}

namespace {
void showMessage(const std::string &sentence, const std::string *name, Placement placement, Mode mode)
{
    // A modal request while the copy-finished message is still open closes
    // that one first, so that the new message gets a dialog of its own.
    if (mode == Mode::Modal) {
        if (frmCD *open = ui::loadedForm<frmCD>(); open && open->visible())
            open->unload();
    }

    frmCD &dialog = ui::form<frmCD>();
    dialog.setTitle("Quorvia Information");
    dialog.lblInstruction->setText(name ? fittedMessage(*dialog.lblInstruction, sentence, *name) : sentence);
    // A screen reader reads the whole message, the name never shortened.
    dialog.setAccessibleDescription(name ? wholeMessage(sentence, *name) : sentence);
    const ui::Window *games = ui::mainScreen();
    if (placement == Placement::MainScreen && games)
        ui::centreOver(dialog, *games);
    else
        ui::centreOnScreen(dialog);
    dialog.lblInstruction->show();
    dialog.imgOk2->show();
    dialog.lblOk2->show();

    if (mode == Mode::Modal)
        dialog.showModal();
    else
        dialog.showModeless();
}
} // namespace

void showInformationDialog(const std::string &message, Placement placement, Mode mode)
{
    showMessage(message, nullptr, placement, mode);
}

void showInformationDialog(const std::string &sentence, const std::string &name, Placement placement, Mode mode)
{
    showMessage(sentence, &name, placement, mode);
}
