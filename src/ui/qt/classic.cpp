#include "classic.h"

#include "panes.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "ui/backend.h"
#include "window.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QWheelEvent>
#include <QTreeView>

#include <algorithm>

namespace ui::qt {

namespace {

// The drive letter a path begins with ("C:..."), upper case, or 0.
QChar driveLetter(const QString &path)
{
    if (path.size() < 2 || path.at(1) != QLatin1Char(':') || !path.at(0).isLetter() || path.at(0).unicode() > 0x7F)
        return {};
    return path.at(0).toUpper();
}

// A DOS path in its plain form: the drive in upper case, "." and ".." resolved
// (never above the root), no doubled or trailing separators, "C:\" for a root.
QString normalDosPath(const QString &path)
{
    QStringList parts;
    for (const QString &part : path.mid(2).split(QRegularExpression(QStringLiteral("[\\\\/]")), Qt::SkipEmptyParts)) {
        if (part == QLatin1String(".."))
            parts.isEmpty() ? void() : parts.removeLast();
        else if (part != QLatin1String("."))
            parts << part;
    }
    return QString(driveLetter(path)) + QStringLiteral(":\\") + parts.join(QLatin1Char('\\'));
}

const int kPathRole = Qt::UserRole;
const int kLevelRole = Qt::UserRole + 1;

// Indents each entry of the folder list by its depth in the tree.
class IndentDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    static constexpr int step = 8;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem indented(option);
        indented.rect.adjust(index.data(kLevelRole).toInt() * step, 0, 0, 0);
        QStyledItemDelegate::paint(painter, indented, index);
    }
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QSize size = QStyledItemDelegate::sizeHint(option, index);
        return {size.width() + index.data(kLevelRole).toInt() * step, size.height()};
    }
};

} // namespace

// ---------------------------------------------------------------------------
// Drive list

DriveList::DriveList(QWidget *parent, const layout::Rect &rect) : ControlOf(parent)
{
    place(rect, true);
    paintGreenOnBlack(this);
    // The drive list has no pointer reactions: movement over it must not
    // reach the window's background either.
    setAttribute(Qt::WA_NoMousePropagation);
    setEditable(false);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    for (const platform::Drive &d : platform::drives()) {
        const QString letter = QString(QChar::fromLatin1(d.letter)).toLower();
        addItem(QStringLiteral("%1: [%2]").arg(letter, toQ(d.folder)), letter + QLatin1Char(':'));
    }
    mShown = currentIndex();
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index == mShown)
            return;
        mShown = index;
        mFailed = -1;
        if (onChange)
            onChange();
    });
}

std::string DriveList::drive() const
{
    return toStd(currentData().toString());
}

int DriveList::indexOfDrive(const QString &path) const
{
    const QChar letter = driveLetter(path);
    if (letter.isNull())
        return -1;
    return findData(QString(letter.toLower()) + QLatin1Char(':'));
}

bool DriveList::setDrive(const std::string &path)
{
    const int index = indexOfDrive(toQ(path));
    if (index < 0)
        return false;
    mFailed = -1;
    setCurrentIndex(index);
    return true;
}

void DriveList::restoreDrive(const std::string &path)
{
    const int failed = currentIndex();
    const int index = indexOfDrive(toQ(path));
    const QSignalBlocker block(this);
    setCurrentIndex(index);
    mShown = index;
    mFailed = failed != index ? failed : -1;
}

void DriveList::keyPressEvent(QKeyEvent *event)
{
    const bool step = !(event->modifiers() & Qt::AltModifier)
                      && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down
                          || event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown);
    if (step)
        stepFromFailed([&] { QComboBox::keyPressEvent(event); });
    else
        QComboBox::keyPressEvent(event);
}

void DriveList::wheelEvent(QWheelEvent *event)
{
    stepFromFailed([&] { QComboBox::wheelEvent(event); });
}

void DriveList::stepFromFailed(const std::function<void()> &step)
{
    if (mFailed < 0 || mFailed >= QComboBox::count()) {
        step();
        return;
    }
    // After a failed Change the shown entry is the last readable drive, but
    // a step goes on from the entry that failed: otherwise the next step
    // would land on it again and the drives beyond it could not be reached.
    const int failed = mFailed;
    {
        const QSignalBlocker block(this);
        setCurrentIndex(failed);
    }
    step();
    if (currentIndex() == failed) {
        // The step went nowhere (the end of the list): the shown drive stays.
        const QSignalBlocker block(this);
        setCurrentIndex(mShown);
    } else if (mFailed == failed) {
        // It went back to the shown drive, which is no Change.
        mFailed = -1;
    }
}

// ---------------------------------------------------------------------------
// Folder list

FolderList::FolderList(QWidget *parent, const layout::Rect &rect) : ControlOf(parent)
{
    place(rect, true);
    setFrameShape(QFrame::NoFrame);
    paintGreenOnBlack(this);
    darkScrollBar(this);
    new MovementWatcher(this, onMouseMove, {this, viewport(), verticalScrollBar(), horizontalScrollBar()});
    setItemDelegate(new IndentDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
}

bool FolderList::setPath(const std::string &path)
{
    return moveTo(toQ(path));
}

bool FolderList::moveTo(const QString &path)
{
    if (driveLetter(path).isNull())
        return false;
    const QString target = normalDosPath(path);
    const std::optional<std::vector<std::string>> children = platform::subfolders(toStd(target));
    if (!children)
        return false;

    clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    // Ancestors from the root down; the last one is the current folder.
    QString built = target.left(3);
    const QStringList parts = target.mid(3).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    auto add = [this](const QString &text, const QString &itemPath, int level, const QIcon &icon) {
        QListWidgetItem *item = new QListWidgetItem(text);
        item->setIcon(icon);
        item->setData(kPathRole, itemPath);
        item->setData(kLevelRole, level);
        addItem(item);
        return item;
    };
    QListWidgetItem *current = add(built.toLower(), built, 0, openIcon);
    for (int i = 0; i < parts.size(); ++i) {
        built = i == 0 ? built + parts[i] : built + QLatin1Char('\\') + parts[i];
        current = add(parts[i], built, i + 1, openIcon);
    }
    const QString prefix = parts.isEmpty() ? target : target + QLatin1Char('\\');
    for (const std::string &name : *children)
        add(toQ(name), prefix + toQ(name), int(parts.size()) + 1, closedIcon);
    setCurrentItem(current);
    scrollToItem(current);

    const bool changed = target != mPath;
    mPath = target;
    if (changed && onChange)
        onChange();
    return true;
}

void FolderList::open(QListWidgetItem *item)
{
    if (item)
        moveTo(item->data(kPathRole).toString());
}

void FolderList::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        open(currentItem());
        return;
    }
    QListWidget::keyPressEvent(event);
}

void FolderList::focusInEvent(QFocusEvent *event)
{
    QListWidget::focusInEvent(event);
    if (focusArrived(event) && onFocus)
        onFocus();
}

void FolderList::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::LeftButton)
        open(itemAt(event->position().toPoint()));
}

// ---------------------------------------------------------------------------
// File list

FileList::FileList(QWidget *parent, const layout::Rect &rect) : ControlOf(parent)
{
    // The chooser only reads it.
    place(rect, false);
    setEnabled(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

bool FileList::setFolder(const std::string &folder)
{
    const std::optional<std::vector<std::string>> names = platform::ordinaryFiles(folder);
    if (!names)
        return false;
    clear();
    for (const std::string &name : *names)
        addItem(new QListWidgetItem(toQ(name)));
    mFolder = toQ(folder);
    return true;
}

std::string FileList::item(int index) const
{
    const QListWidgetItem *entry = QListWidget::item(index);
    return entry ? toStd(entry->text()) : std::string();
}

// ---------------------------------------------------------------------------
// Open-file dialog

void applyDosFilter(QFileDialog &dialog, const QString &filter, int filterIndex)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList labels;
    QList<QStringList> patterns;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        labels << parts[i];
        QStringList list;
        for (QString p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            p = p.trimmed();
            // On the system the filters come from, "*.*" matches every name;
            // Qt's pattern would hide the names without a dot.
            list << (p == QLatin1String("*.*") ? QStringLiteral("*") : p);
        }
        patterns << list;
    }
    if (labels.isEmpty())
        return;

    // The dialog shows the labels as they stand and would take the patterns
    // from their brackets; its model gets the real patterns instead, each
    // time a filter is chosen.
    auto *model = dialog.findChild<QFileSystemModel *>();
    const auto use = [model, labels, patterns](const QString &label) {
        const qsizetype i = labels.indexOf(label);
        if (model && i >= 0)
            model->setNameFilters(patterns[i]);
    };
    dialog.setNameFilters(labels);
    const QString chosen = labels.value(qBound(1, filterIndex, int(labels.size())) - 1);
    dialog.selectNameFilter(chosen);
    use(chosen);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, use);
}

} // namespace ui::qt

namespace ui::backend {

bool showOpen(CommonDialog &common, Window &owner)
{
    using namespace ui::qt;
    // A dialog of its own each time: nothing of it stays open on the folder
    // (a file watcher on a disc would keep the disc busy).
    QFileDialog dialog(widgetOf(owner));
    setTitleText(&dialog, toQ(common.DialogTitle));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (const std::optional<std::string> host = platform::toHostPath(common.InitDir))
        dialog.setDirectory(toQ(*host));
    applyDosFilter(dialog, toQ(common.Filter), common.FilterIndex);
    // Wide enough for the size, type and date columns to show whole; the
    // name takes what is left.
    dialog.resize(std::max(dialog.width(), 720), std::max(dialog.height(), 420));
    if (auto *view = dialog.findChild<QTreeView *>()) {
        QHeaderView *header = view->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < header->count(); ++column)
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    const std::string picked = platform::toDosPath(toStd(dialog.selectedFiles().constFirst()));
    if (picked.empty())
        return false;
    common.FileName = picked;
    return true;
}

} // namespace ui::backend
