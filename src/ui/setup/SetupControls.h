#pragma once

#include "ui/controls/CtrlId.h"

#include <QRect>
#include <QString>
#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Controls of the setup pages, each with its control id, its skin element
// and an accessible name (its text or label), at a fixed place.
namespace setupui {

inline constexpr const char* kPageElement = "m_dvrsetup_bg";
inline constexpr const char* kTabElement = "m_btn_dvrsetup_common";
inline constexpr const char* kButtonElement = "m_btn_dvrsetup_dialog_common";
inline constexpr const char* kSmallButtonElement = "m_btn_number_dvrsetup_dialog_common";
inline constexpr const char* kLabelElement = "m_static_dvrsetup_common";
inline constexpr const char* kGroupElement = "m_Group_dvrsetup_dialog";

QPushButton* Button(QWidget* parent, int id, const QString& text, const QRect& place,
                    const char* element = kButtonElement);
// A push-like check box.
QPushButton* CheckButton(QWidget* parent, int id, const QString& text, const QRect& place,
                         const char* element = kSmallButtonElement);
QLabel* Label(QWidget* parent, const QString& text, const QRect& place);
// A drop list of fixed entries.
QComboBox* DropList(QWidget* parent, int id, const QString& label, const QStringList& entries, const QRect& place);
QLineEdit* Edit(QWidget* parent, int id, const QString& label, int maxLength, const QRect& place);
// Names a control made elsewhere: id, accessible name, place.
template <typename T>
T* Placed(T* control, int id, const QString& label, const QRect& place)
{
    SetCtrlId(control, id);
    control->setAccessibleName(label);
    control->setGeometry(place);
    return control;
}

} // namespace setupui
