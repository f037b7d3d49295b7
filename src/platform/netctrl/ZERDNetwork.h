#pragma once

#include <memory>
#include <string>

#include "core/dvr/RecordingProfile.h"
#include "core/dvr/ZerdInfoBlock.h"
#include "core/msg/WindowMessage.h"
#include "platform/netauth/DroppedDatagrams.h"

class HostKeyVerifier;
class NetSession;

// The live media callback: (context, 0, packet type, packet, length). Type 2 is
// video, 3 audio; a packet is [fragment count][fragment index][payload]. It
// runs on the session's I/O thread; the packet is valid only during the call.
using PacketLiveMediaCallback = void (*)(void* context, unsigned char, unsigned char type, unsigned char* data,
                                         unsigned int length);

// One session with one recorder. All calls are made on one thread (the user
// interface's); outcomes arrive later as message `message` posted to the
// window given to Create, wParam = SessionId(), lParam = the code (100..135).
//
// The object is a handle: moving or swapping it moves the session with its
// connection, threads and identity, so the owner can keep its array dense
// without closing anything. A moved-from object holds a fresh, idle session
// with a new identity. Copying is not possible: two handles on one connection
// would let closing one end the other.
//
// Create connects to the recorder, waiting at most a short moment (a few
// hundred milliseconds): a connection refused in that time makes it return
// false; one still pending continues on the session thread and a failure is
// reported as code 100. A recorder that drops the link is reported as 106, one
// that leaves requests unanswered for a few seconds as 108.
//
// The link runs inside TLS 1.3. Once the handshake is done the recorder's key
// goes to the process-wide HostKeyVerifier (under the recorder's dotted IPv4
// address and port); a key other than the one pinned there ends the link with
// 135, and GetPresentedKeyFingerprint / GetPinnedKeyFingerprint name both. A
// recorder of another protocol version, or one that talks in clear, is 107.
class CZERDNetwork {
public:
    CZERDNetwork();
    ~CZERDNetwork();
    CZERDNetwork(CZERDNetwork&& other) noexcept;
    CZERDNetwork& operator=(CZERDNetwork&& other) noexcept;
    CZERDNetwork(const CZERDNetwork&) = delete;
    CZERDNetwork& operator=(const CZERDNetwork&) = delete;
    void swap(CZERDNetwork& other) noexcept;

    // Nonzero and unique per session; the wParam of every notification.
    unsigned SessionId() const;

    // Starts a session. tcpMedia true: live media over the control connection;
    // false: over UDP datagrams to a loopback port of this process. Ends any
    // earlier session of this object first. The last argument is unused.
    bool Create(char* address, short port, bool tcpMedia, unsigned message, HWND window, short reserved);
    // Logs in; the outcome comes as 101 (administrator), 102 (user), 103 to 105 or 107.
    bool SessionOpen(char* account, char* password);
    // Keeps the session alive; call once a second.
    bool SessionPoll();

    // Reads the settings block: 110 when it arrived (GetReceivedDVRInfo), 113 when refused.
    bool GetDVRInfo();
    ZERD_INFO_BLK GetReceivedDVRInfo() const;
    // Writes one section (0..5) of the block, taken from `section` with the
    // section's size: 111 written, 112 failed.
    bool SetDVRInfo(void* section, unsigned char sectionNumber);

    // Requests live video and audio of the cameras in the masks; (0, 0) stops all.
    bool LiveMediaControl(unsigned short videoMask, unsigned short audioMask);
    // (null, null) unregisters. When it returns, a callback running with the
    // previous registration has finished and no later one starts with it.
    bool SetPacketLiveMediaCallback(PacketLiveMediaCallback callback, void* context);

    // The last masks the recorder reported (code 109).
    unsigned short GetVideoChannelMask() const;
    unsigned short GetAudioChannelMask() const;
    unsigned short GetSensorStatusMask() const;

    // Live datagrams dropped since Create (UDP media mode): those that failed
    // authentication or were not this session's, and repeated or too old ones.
    netauth::DroppedDatagrams GetDroppedDatagrams() const;

    // Bytes for the recorder's serial (PTZ) line, at most kMaxSerialBytes.
    bool PutSerialPortData(unsigned char* data, int length);

    // Daily log: 119 found (GetLogFileSize), 120 not found; then
    // GetLOGFileBlock(n) for each block: 122 block, 123 last block
    // (GetLOGFileChunkData gives the bytes of each, in order of arrival).
    bool DownloadLOG(unsigned short year, unsigned char month, unsigned char day);
    unsigned GetLogFileSize() const;
    bool GetLOGFileBlock(unsigned char block);
    // Bytes of the oldest block not yet taken; valid until the next call.
    // Length 0 (and a non-null pointer) when none is waiting.
    unsigned char* GetLOGFileChunkData(int& length);

    // Recording days of a month: 124, then GetRecordingMonthleyProfile_Data
    // (bit d-1 = day d). Daily profile blocks: 125 more follow, 126 last.
    bool GetRecordingProfile_Monthley(unsigned short year, unsigned char month);
    unsigned GetRecordingMonthleyProfile_Data() const;
    // The last answer with the month it is for: answers to requests for
    // several months may arrive after the caller has moved on.
    RecordingMonth GetRecordingMonthleyProfile_Month() const;
    bool GetRecordingProfile_Daily(unsigned char day, unsigned char block);
    unsigned char* GetRecordingDailyProfile_Data(int& length);

    // File upload: 132 ready for the first chunk, 134 chunk stored (send the
    // next), 133 failed. Chunks carry at most kMaxUploadChunk bytes.
    bool Fileupload(char* fileName, unsigned long size);
    bool WriteFileChunk(void* data, int length, unsigned char sequence, unsigned char last);

    // Destroy stops the session's thread and live media: when it returns no
    // notification will be posted and the live callback will not run again.
    // SessionClose then sends what was still queued, says goodbye to the
    // recorder and closes the sockets.
    // Either may come first; both are harmless when repeated. Neither may be
    // called from inside the live callback (they return false there).
    bool Destroy();
    bool SessionClose();

    // After 135: "SHA256:..." of the key the recorder showed, and of the key
    // pinned for its address and port. Empty before and after other outcomes.
    std::string GetPresentedKeyFingerprint() const;
    std::string GetPinnedKeyFingerprint() const;

    // The verifier every later Create uses; null puts back the default, which
    // pins in memory for the life of the process.
    static void SetHostKeyVerifier(std::shared_ptr<HostKeyVerifier> verifier);
    static std::shared_ptr<HostKeyVerifier> GetHostKeyVerifier();

    static constexpr int kMaxSerialBytes = 256;
    static constexpr int kMaxUploadChunk = 512;

private:
    std::unique_ptr<NetSession> m_session;
};

// LAN discovery. Discovery records go to the window given to SetNotifyWindow
// as message `message`: wParam = the record's size, lParam = a pointer to a
// ZERD_INFO_BLK allocated with new that the receiver owns and deletes (when
// the post fails the library deletes it). Probes go to each host:port of
// DVR_SCAN_TARGETS (comma separated, default "127.0.0.1:7060"), loopback only.
bool StartUnicastChannelMonitoring();
bool SetNotifyWindow(unsigned message, HWND window);
bool ZERDScan();
bool StopUnicastChannelMonitoring();
