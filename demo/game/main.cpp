// The demo game of the sample disc: a window that shows the program's own file
// name, its command line and its current folder, so that every start from the
// menu (from the disc, from a hard-disk copy, through View) can be seen.
//
// QUORVIA_DEMO_RECORD: when set, one line "<program name>\t<arguments joined
// by spaces>\t<current folder>" is appended to that file at start.
// QUORVIA_DEMO_EXIT_AFTER_MS: when set, the game closes itself after that many
// milliseconds.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

namespace {

void appendRecord(const QString &program, const QStringList &arguments, const QString &folder)
{
    const QString path = qEnvironmentVariable("QUORVIA_DEMO_RECORD");
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    file.write((program + QLatin1Char('\t') + arguments.join(QLatin1Char(' ')) + QLatin1Char('\t') + folder
                + QLatin1Char('\n'))
                   .toUtf8());
}

QLabel *line(const QString &caption, const QString &value, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setText(caption + QLatin1Char('\n') + value);
    return label;
}

} // namespace

int main(int argc, char *argv[])
{
    // The name and arguments exactly as started, before Qt takes its own
    // options out of the list.
    const QString program = QFileInfo(QString::fromLocal8Bit(argv[0])).fileName();
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const QString folder = QDir::currentPath();
    appendRecord(program, arguments, folder);

    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(program);
    window.setMinimumWidth(420);
    window.setStyleSheet(QStringLiteral("QWidget { background: #101820; color: #00ff00; }"
                                        "QPushButton { background: #203040; padding: 4px 16px; }"));

    auto *layout = new QVBoxLayout(&window);
    auto *title = new QLabel(program, &window);
    title->setTextFormat(Qt::PlainText);
    QFont big = title->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    title->setFont(big);
    layout->addWidget(title);
    layout->addWidget(new QLabel(QStringLiteral("A demo game of the Quorvia sample disc."), &window));
    layout->addWidget(line(QStringLiteral("Command line:"),
                           arguments.isEmpty() ? QStringLiteral("(none)") : arguments.join(QLatin1Char(' ')),
                           &window));
    layout->addWidget(line(QStringLiteral("Current folder:"), QDir::toNativeSeparators(folder), &window));
    auto *quit = new QPushButton(QStringLiteral("Quit"), &window);
    QObject::connect(quit, &QPushButton::clicked, &app, &QApplication::quit);
    layout->addWidget(quit, 0, Qt::AlignRight);

    bool ok = false;
    const int exitAfter = qEnvironmentVariableIntValue("QUORVIA_DEMO_EXIT_AFTER_MS", &ok);
    if (ok && exitAfter >= 0)
        QTimer::singleShot(exitAfter, &app, &QApplication::quit);

    window.show();
    return app.exec();
}
