#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/dvr/ZerdInfoBlock.h"

// What the Network page shows, control by control.
struct NetworkPageFields {
    static constexpr int kEventButtons = 9;   // 1141 "ALL", 1142..1149 the events
    std::array<bool, kEventButtons> events{}; // index k = mask bit k
    int port = 0;
    std::array<std::array<std::uint8_t, 4>, 5> addresses{}; // IP, gateway, subnet mask, DNS, SMTP
    std::string mailServerId;
    std::string mailServerPassword;
    std::string dvrName;
    std::string mailSender;
    std::string mailReceiver;
    int confirmPosition = 0;                  // "NOT", "YES"
    bool operator==(const NetworkPageFields&) const = default;
};

// The edits' lengths are their fields' widths.
inline constexpr std::size_t kMailServerIdLength = sizeof(DvrNetworkSection::mailServerId);
inline constexpr std::size_t kMailServerPasswordLength = sizeof(DvrNetworkSection::mailServerPassword);
inline constexpr std::size_t kDvrNameLength = sizeof(DvrNetworkSection::dvrName);
inline constexpr std::size_t kMailSenderLength = sizeof(DvrNetworkSection::mailSender);
inline constexpr std::size_t kMailReceiverLength = sizeof(DvrNetworkSection::mailReceiver);

// The controls from the section: with "ALL" set every button is checked,
// otherwise each set event bit checks its button; a confirmation above 1
// shows "NOT".
NetworkPageFields FillNetworkPage(const DvrNetworkSection& section);
// The controls into the section: mask bit k from button k, texts trimmed and
// copied into their zeroed fields, confirmation above 1 stored as 0. The MAC
// address and the unused bytes stay.
void StoreNetworkPage(const NetworkPageFields& fields, DvrNetworkSection& section);

// "ALL" was clicked and is now `checked`: when checked, the page is filled
// again from the working copy and the eight event buttons checked; when
// unchecked, all nine go off.
void ApplyAllEventsButton(NetworkPageFields& fields, bool checked, const DvrNetworkSection& working);

// "Default": no event, port 7050, 192.168.123.98, gateway 192.168.123.254,
// mask 255.255.255.0, a public DNS server, SMTP 0.0.0.0, mail server ID
// "ADMIN", password "5829", confirmation "NOT". Other texts stay as shown.
void SetNetworkPageDefaults(NetworkPageFields& fields);
