// Geometry of every window and control, in pixels of the client area.
// The forms place their controls from these tables and the artwork generator
// draws the backgrounds and button pictures to the same rectangles, so a
// picture always lands exactly over the button drawn beneath it.
#pragma once

#include <string>

namespace layout {

struct Rect {
    int x, y, w, h;
};

// Paragraphs as one text, a blank line between two, for screen readers.
template <class Paragraphs> std::string joinedParagraphs(const Paragraphs &paragraphs)
{
    std::string text;
    for (const char *p : paragraphs)
        text += (text.empty() ? "" : "\n\n") + std::string(p);
    return text;
}

// One image button: its hot area and its two pictures (an empty rectangle,
// w == 0, means the button has no such picture). `word` is the caption drawn
// in the artwork; '\n' separates lines.
struct Button {
    const char *name;   // control stem: "Run" gives lblRun, imgRunLight, imgRunIndent
    const char *word;
    Rect label;
    Rect light;
    Rect indent;
};

namespace games {
inline constexpr int width = 640, height = 480;
inline constexpr Rect lstGameListing{167, 90, 195, 242};
inline constexpr Rect txtDesc{372, 90, 216, 242};
inline constexpr Rect lblStatus{349, 22, 232, 28};

// The five command buttons, top to bottom.
inline constexpr Button commands[] = {
    {"Help", "Help", {20, 74, 103, 46}, {30, 85, 86, 35}, {21, 77, 105, 43}},
    {"Run", "Run", {20, 123, 103, 36}, {30, 123, 86, 36}, {21, 123, 105, 36}},
    {"CopyHDD", "Copy\nto Hard\nDrive", {20, 162, 103, 95}, {28, 182, 90, 54}, {21, 162, 105, 95}},
    {"View", "View", {20, 260, 103, 36}, {30, 260, 86, 36}, {21, 260, 105, 36}},
    {"Exit", "Exit", {20, 299, 103, 46}, {30, 299, 86, 36}, {21, 299, 105, 46}},
};

// The eight category buttons: upper row, then lower row, left to right.
inline constexpr Button categories[] = {
    {"Arcade", "arcade", {25, 373, 100, 41}, {33, 381, 93, 33}, {26, 375, 100, 39}},
    {"Board", "board", {128, 373, 99, 41}, {129, 381, 99, 33}, {128, 375, 100, 39}},
    {"Educate", "education", {230, 373, 93, 41}, {231, 381, 93, 33}, {230, 375, 94, 39}},
    {"Strategy", "strategy", {326, 373, 94, 41}, {327, 381, 86, 33}, {326, 375, 93, 38}},
    {"Cards", "cards", {25, 417, 100, 43}, {33, 417, 93, 33}, {26, 416, 100, 42}},
    {"Action", "action", {128, 417, 99, 43}, {129, 417, 99, 33}, {128, 416, 100, 42}},
    {"Adv", "adventure", {230, 417, 93, 43}, {231, 417, 93, 33}, {230, 416, 94, 42}},
    {"3D", "3D", {326, 417, 94, 43}, {327, 417, 86, 33}, {326, 416, 93, 42}},
};
} // namespace games

namespace cd {   // the information dialog
inline constexpr int width = 254, height = 138;
inline constexpr Rect lblInstruction{13, 10, 231, 79};
inline constexpr Rect lblOk2{82, 101, 89, 28};
inline constexpr const char *okWord = "Ok";  // drawn on the OK button
inline constexpr Rect imgOk2{82, 101, 89, 28};        // the button at rest
inline constexpr Rect imgOk2Light{111, 106, 29, 16};  // the word alone, lit
inline constexpr Rect imgOk2Indent{82, 101, 89, 28};
} // namespace cd

namespace hdd {  // the hard-disk notice
inline constexpr int width = 430, height = 240;
// The paragraphs drawn on the notice's background.
inline constexpr const char *paragraphs[] = {
    "This game runs only from the hard drive.",
    "To play it, choose OK: the program copies the game to your hard drive and runs it from there.",
    "Otherwise, choose Cancel.",
};
inline constexpr int backgroundWidth = 430, backgroundHeight = 239;
inline constexpr Button buttons[] = {
    {"Ok", "OK", {47, 176, 164, 31}, {48, 176, 164, 33}, {0, 0, 0, 0}},
    {"Cancel", "Cancel", {213, 176, 164, 31}, {213, 176, 164, 33}, {0, 0, 0, 0}},
};
// The progress bar over the row of the two buttons while OK copies: the
// trough, and the fill inside its 1 px bevel.
inline constexpr Rect prgCopy{47, 176, 330, 31};
inline constexpr Rect prgCopyFill{48, 177, 328, 29};
} // namespace hdd

namespace exitdlg {  // the exit dialog
inline constexpr int width = 430, height = 240;
// The paragraphs drawn on the dialog's background.
inline constexpr const char *paragraphs[] = {
    "Games copied to your hard drive are removed through the system's Add/Remove Programs panel, which the "
    "Uninstall button opens.",
    "There, select the games to remove and follow the prompts.",
    "The Exit button leaves the program.",
};
inline constexpr Button buttons[] = {
    {"Uninstall", "Uninstall", {47, 176, 164, 31}, {45, 175, 168, 35}, {0, 0, 0, 0}},
    {"Exit", "Exit", {213, 176, 164, 31}, {211, 175, 168, 35}, {0, 0, 0, 0}},
};
} // namespace exitdlg

namespace save {  // the copy destination chooser
inline constexpr int width = 265, height = 225;
inline constexpr int backgroundWidth = 269, backgroundHeight = 228;
inline constexpr Rect txtFolderPath{7, 23, 161, 19};
inline constexpr Rect dirSave{7, 49, 161, 126};
inline constexpr Rect drvSave{7, 197, 161, 21};
inline constexpr Rect filGame{177, 92, 81, 80};
inline constexpr Button buttons[] = {
    {"Save", "Save", {179, 16, 79, 34}, {185, 28, 67, 22}, {179, 16, 79, 34}},
    {"Cancel", "Cancel", {179, 53, 79, 34}, {185, 53, 67, 22}, {179, 53, 79, 34}},
};
} // namespace save

} // namespace layout
