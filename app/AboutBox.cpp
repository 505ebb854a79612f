#include "app/AboutBox.h"

#include <QCoreApplication>
#include <QIcon>

namespace {

constexpr int kMinimumWidth = 300;

// Translated in the main window's context, where the text has always been.
QString aboutText() {
    return QCoreApplication::translate(
               "SettingsWindow",
               "<img align=left src='://images/Icons/favicon.gif'>\t\t"
               "<center><h2>Zaredezid</h2></center>\t\t"
               "<p align=center>Technology preview</p>\t\t"
               "<p align=left>Made by <a href='https://ruveviv.example.org'>Ruveviv</a>, "
               "who turn ordinary webcams into controllers.</p>\t\t"
               "<p align=left>This application was created with Qt %1 LGPL edition. "
               "<br>Qt can be obtained from Nokia at "
               "<a href='https://www.qt.io'>https://www.qt.io</a></p>")
        .arg(QString::fromLatin1(qVersion()));
}

} // namespace

AboutBox::AboutBox() {
    setMinimumWidth(kMinimumWidth);
    setWindowIcon(QIcon("://images/Icons/fileinfo-32.png"));
    setStandardButtons(QMessageBox::Ok);
    setTextFormat(Qt::RichText);
    setText(aboutText());
}
