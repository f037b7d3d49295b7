#pragma once

#include <string>

#include "platform/nettls/TlsIdentity.h"

// One recorder key and certificate for a whole test program, made on first use.
inline const nettls::TlsIdentity& TlsTestIdentity()
{
    static const nettls::TlsIdentity identity = [] {
        std::string error;
        return *nettls::TlsIdentity::Generate("test recorder", &error);
    }();
    return identity;
}
