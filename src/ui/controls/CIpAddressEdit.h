#pragma once

#include "core/servers/DottedQuad.h"

#include <QWidget>

#include <array>

class QSpinBox;

// An IPv4 address typed as four numbers of 0..255, like the platform's IP
// address control.
class CIpAddressEdit : public QWidget {
public:
    explicit CIpAddressEdit(QWidget* parent = nullptr);

    DottedQuad Address() const;
    void SetAddress(const DottedQuad& address);

private:
    std::array<QSpinBox*, 4> m_octets{};
};
