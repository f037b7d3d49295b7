#include "ui/app/DvrMessageBox.h"

#include <QGuiApplication>

#include <cstdio>
#include <deque>

namespace {

std::vector<ShownMessage>& shown()
{
    static std::vector<ShownMessage> messages;
    return messages;
}

std::deque<QMessageBox::StandardButton>& queuedAnswers()
{
    static std::deque<QMessageBox::StandardButton> answers;
    return answers;
}

bool unattended()
{
    QString platform = QGuiApplication::platformName();
    return platform == "offscreen" || platform == "minimal";
}

} // namespace

QMessageBox::StandardButton DvrMessageBox(QWidget* parent, const QString& text, const QString& caption,
                                          QMessageBox::Icon icon, QMessageBox::StandardButtons buttons,
                                          QMessageBox::StandardButton defaultButton)
{
    shown().push_back({text, caption, icon});
    if (unattended()) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(text));
        auto& answers = queuedAnswers();
        if (answers.empty())
            return defaultButton;
        const QMessageBox::StandardButton answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return static_cast<QMessageBox::StandardButton>(
        MakeDvrMessageBox(parent, text, caption, icon, buttons, defaultButton)->exec());
}

std::unique_ptr<QMessageBox> MakeDvrMessageBox(QWidget* parent, const QString& text, const QString& caption,
                                               QMessageBox::Icon icon, QMessageBox::StandardButtons buttons,
                                               QMessageBox::StandardButton defaultButton)
{
    auto box = std::make_unique<QMessageBox>(icon, caption, text, buttons, parent);
    box->setDefaultButton(defaultButton);
    // A screen reader names the box by its caption and reads the text.
    box->setAccessibleName(caption);
    box->setAccessibleDescription(text);
    return box;
}

const std::vector<ShownMessage>& ShownMessages()
{
    return shown();
}

void ClearShownMessages()
{
    shown().clear();
}

void AnswerNextMessageBoxes(std::vector<QMessageBox::StandardButton> answers)
{
    queuedAnswers().assign(answers.begin(), answers.end());
}
