#include "ui/controls/CIpAddressEdit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>

CIpAddressEdit::CIpAddressEdit(QWidget* parent)
    : QWidget(parent)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    for (std::size_t i = 0; i < m_octets.size(); ++i) {
        if (i > 0)
            row->addWidget(new QLabel(".", this));
        m_octets[i] = new QSpinBox(this);
        m_octets[i]->setRange(0, 255);
        m_octets[i]->setButtonSymbols(QAbstractSpinBox::NoButtons);
        m_octets[i]->setAlignment(Qt::AlignCenter);
        m_octets[i]->setAccessibleName(QString("Octet %1").arg(i + 1));
        row->addWidget(m_octets[i]);
    }
}

DottedQuad CIpAddressEdit::Address() const
{
    DottedQuad address{};
    for (std::size_t i = 0; i < m_octets.size(); ++i)
        address[i] = static_cast<std::uint8_t>(m_octets[i]->value());
    return address;
}

void CIpAddressEdit::SetAddress(const DottedQuad& address)
{
    for (std::size_t i = 0; i < m_octets.size(); ++i)
        m_octets[i]->setValue(address[i]);
}
