#pragma once

#include "core/servers/ServerRecord.h"

#include <optional>
#include <string>
#include <vector>

// Whether a double-clicked server may be connected, and how.

// What the pick sees of the dialog and the main window.
struct PickState {
    bool listEmpty = true;
    bool liveRunning = false;
    std::optional<std::string> selectedName;  // column 0 of the first selected row
    std::vector<std::string> openServerNames;
    int liveChannelsInUse = 0;
    int firstSlotDvrType = 0;
    std::optional<ServerRecord> record;  // the selected name's record, when its key opened
    ModelNameTable models = DefaultModelNames();
};

struct PickPlan {
    enum class Step {
        Nothing,      // the dialog stays open
        Message,      // information box with messageId; the dialog stays open
        CloseDialog,  // end with OK, nothing connected
        Connect,      // connect to address (dotted IPv4 as stored)
        ResolveDdns,  // resolve ddnsName through the record's DDNS server, then connect
    };
    Step step = Step::Nothing;
    int messageId = 0;
    bool setCurrentName = false;   // hand selectedName to the main window first
    bool handCredentials = false;  // hand the record's account and password over
    std::string address;           // Connect
    std::string ddnsName;          // ResolveDdns
    bool operator==(const PickPlan&) const = default;
};

inline constexpr int kMsgLiveRunning = 6043;
inline constexpr int kMsgModelMixSixteen = 6044;
inline constexpr int kMsgModelMixPaired = 6045;
inline constexpr int kMaxLiveChannels = 16;

PickPlan PlanServerPick(const PickState& state);

// Three or more '.' make a literal address; anything else is a DDNS name.
bool IsLiteralAddress(const std::string& ip);

// The message id refusing to add a server of model dvrType next to an open
// server whose settings block gave firstSlotDvrType; 0 when they may mix.
int ModelMixRefusal(int firstSlotDvrType, const std::string& dvrType, const ModelNameTable& models);
