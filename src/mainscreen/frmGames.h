// The main screen.
#pragma once

#include <QWidget>

class frmGames : public QWidget {
    Q_OBJECT
public:
    frmGames();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap mBackground;
};
