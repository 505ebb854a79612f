#pragma once

#include <QMessageBox>

// The Help menu's About box: the program, its makers and the Qt it runs on.
class AboutBox : public QMessageBox {
public:
    AboutBox();
};
