#include "frmGames.h"

#include "assets/assets.h"
#include "ui/layout.h"

#include <QPainter>

frmGames::frmGames()
{
    setWindowTitle(QStringLiteral("Quorvia"));
    setWindowIcon(assets::windowIcon());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(layout::games::width, layout::games::height);
    mBackground = assets::picture(QStringLiteral("frmGames"), QStringLiteral("background"));
}

void frmGames::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, mBackground);
}
