#pragma once

#include "core/servers/ServerRecord.h"
#include "core/viewer/LangText.h"

#include <string>
#include <variant>

// The configuration dialog's server form, as the operator left it.
struct ServerForm {
    std::string name;
    std::string dvrType;
    std::string ip;
    std::string account;
    std::string password;
    std::string port;  // the edit's text
    std::string protocol;
    std::string ddns;  // dotted IPv4 of the DDNS server
};

// Language-pack ids of the refusals beyond the empty fields.
constexpr int kStrNameNotStorable = 7014;
constexpr int kStrPortOutOfRange = 7015;
constexpr int kStrPasswordTooLong = 7016;
constexpr int kStrAddressTooLong = 7017;
constexpr int kStrSettingTooLong = 7018;

// Where the focus goes after a refused form.
enum class FormField { None, ServerName, DvrType, Password, IpAddress, Port };

struct FormProblem {
    LangText message;
    FormField focus = FormField::None;
    bool operator==(const FormProblem&) const = default;
};

// The record the form describes, or the first problem found. Beyond the
// empty fields the operator is told about, a name that cannot be a registry
// key name (a backslash would make nested keys), a text too long to store
// and a port outside 1..65535 (the connect call takes a 16-bit port) are
// refused too, so a record is never written half or wrong.
std::variant<ServerRecord, FormProblem> CheckServerForm(const ServerForm& form);
