#pragma once

// Event codes the network library posts to the main window with message
// kMsgNetworkNotify (the code travels in the second message parameter), and
// the message that carries one LAN discovery record to the configuration
// dialog.

constexpr unsigned kMsgNetworkNotify = 1224;
constexpr unsigned kMsgDiscoveryRecord = 2024; // 0x7e8; the record's address in the second parameter

constexpr int kNotifyFirst = 100;
constexpr int kNotifyLast = 135;

// Session set-up and link.
constexpr int kNotifyConnectFailed = 100;      // refused or unreachable
constexpr int kNotifyLoggedOnAdmin = 101;      // "Log on as Administrator"
constexpr int kNotifyLoggedOnUser = 102;       // "Logon User mode"
constexpr int kNotifyWrongPassword = 103;
constexpr int kNotifyUnknownAccount = 104;
constexpr int kNotifyTooManySessions = 105;
constexpr int kNotifyLinkClosed = 106;         // closed by the recorder or lost
constexpr int kNotifyVersionMismatch = 107;
constexpr int kNotifyPollTimeout = 108;        // the recorder stopped answering polls

// Recorder state.
constexpr int kNotifyMasksChanged = 109;       // channel, audio and sensor masks
constexpr int kNotifySettingsReceived = 110;   // the settings block is ready to fetch
constexpr int kNotifySettingsWritten = 111;
constexpr int kNotifySettingsWriteFailed = 112;
constexpr int kNotifyOperationRefused = 113;   // the recorder's version does not support it
constexpr int kNotifyLiveStarted = 114;

// Log download.
constexpr int kNotifyLogFound = 119;           // the log's total size is known; ask for block 0
constexpr int kNotifyLogNotFound = 120;        // "Not Found Log File!"
constexpr int kNotifyLogBlock = 122;           // a block arrived, more follow
constexpr int kNotifyLogLastBlock = 123;       // the last block arrived

// Recording profile.
constexpr int kNotifyMonthProfileReady = 124;  // the month's recording-day mask
constexpr int kNotifyDailyProfileBlock = 125;  // a daily-profile block arrived, more follow
constexpr int kNotifyDailyProfileLastBlock = 126;

// File upload.
constexpr int kNotifyUploadReady = 132;        // send the first chunk
constexpr int kNotifyUploadFailed = 133;       // the upload ended in failure
constexpr int kNotifyUploadChunkAccepted = 134; // send the next chunk

// Encrypted link.
constexpr int kNotifyHostKeyChanged = 135;     // the recorder shows another key than the one pinned; link closed

// Codes inside the range that carry no action for the viewer.
constexpr bool IsIgnoredNotifyCode(int code)
{
    return (code >= 115 && code <= 118) || code == 121 || (code >= 127 && code <= 131);
}
