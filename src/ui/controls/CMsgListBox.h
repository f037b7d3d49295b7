#pragma once

#include <QListWidget>

// The information panel's message list: its own colours, newest line
// selected and scrolled into view. It keeps a bounded number of lines so a
// session left running for weeks does not grow without end.
class CMsgListBox : public QListWidget {
    Q_OBJECT
public:
    static constexpr int kMaxLines = 500;

    explicit CMsgListBox(QWidget* parent = nullptr);

    void AddMessage(const QString& text);
    void SetColors(const QColor& text, const QColor& background);
};
