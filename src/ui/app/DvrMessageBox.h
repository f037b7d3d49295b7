#pragma once

#include <QMessageBox>
#include <QString>

#include <memory>
#include <vector>

// Every message box of the program goes through here. With no screen to show
// it on (the offscreen platform of tests and unattended demos) the box is not
// shown: its text goes to stderr and the default button is taken as the
// answer, unless a test queued another. Each box is remembered, so tests can
// tell what the user was told.
struct ShownMessage {
    QString text;
    QString caption;
    QMessageBox::Icon icon;
};

QMessageBox::StandardButton DvrMessageBox(QWidget* parent, const QString& text, const QString& caption,
                                          QMessageBox::Icon icon,
                                          QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                          QMessageBox::StandardButton defaultButton = QMessageBox::Ok);

// The box DvrMessageBox shows, made but not shown.
std::unique_ptr<QMessageBox> MakeDvrMessageBox(QWidget* parent, const QString& text, const QString& caption,
                                               QMessageBox::Icon icon,
                                               QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                               QMessageBox::StandardButton defaultButton = QMessageBox::Ok);

const std::vector<ShownMessage>& ShownMessages();
void ClearShownMessages();
// The next boxes not shown answer these, in order, instead of their default button.
void AnswerNextMessageBoxes(std::vector<QMessageBox::StandardButton> answers);
