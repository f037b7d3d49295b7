#include "platform/netctrl/ZERDNetwork.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>

#include "core/dvr/SettingsBlock.h"
#include "core/net/LiveMessages.h"
#include "core/net/TransferMessages.h"
#include "platform/netctrl/DiscoveryMonitor.h"
#include "platform/netctrl/MemoryHostKeyPins.h"
#include "platform/netctrl/NetSession.h"

using wire::MessageType;

namespace {

std::string TextOf(const char* text) { return text ? std::string(text) : std::string(); }

// The file's name without its folders (either slash) and without the blanks
// callers append.
std::string BaseName(std::string path)
{
    while (!path.empty() && path.back() == ' ')
        path.pop_back();
    std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::mutex g_verifierLock; // guards g_verifier
std::shared_ptr<HostKeyVerifier> g_verifier;

} // namespace

void CZERDNetwork::SetHostKeyVerifier(std::shared_ptr<HostKeyVerifier> verifier)
{
    std::lock_guard guard(g_verifierLock);
    g_verifier = std::move(verifier);
}

std::shared_ptr<HostKeyVerifier> CZERDNetwork::GetHostKeyVerifier()
{
    std::lock_guard guard(g_verifierLock);
    if (!g_verifier)
        g_verifier = std::make_shared<MemoryHostKeyPins>();
    return g_verifier;
}

std::string CZERDNetwork::GetPresentedKeyFingerprint() const { return m_session->PresentedKeyFingerprint(); }

std::string CZERDNetwork::GetPinnedKeyFingerprint() const { return m_session->PinnedKeyFingerprint(); }

CZERDNetwork::CZERDNetwork() : m_session(std::make_unique<NetSession>()) {}

CZERDNetwork::~CZERDNetwork() = default;

CZERDNetwork::CZERDNetwork(CZERDNetwork&& other) noexcept
    : m_session(std::exchange(other.m_session, std::make_unique<NetSession>()))
{
}

CZERDNetwork& CZERDNetwork::operator=(CZERDNetwork&& other) noexcept
{
    if (this != &other) {
        m_session = std::move(other.m_session);
        other.m_session = std::make_unique<NetSession>();
    }
    return *this;
}

void CZERDNetwork::swap(CZERDNetwork& other) noexcept { m_session.swap(other.m_session); }

unsigned CZERDNetwork::SessionId() const { return m_session->Id(); }

bool CZERDNetwork::Create(char* address, short port, bool tcpMedia, unsigned message, HWND window, short)
{
    return m_session->Create(TextOf(address), static_cast<std::uint16_t>(port), tcpMedia, message, window,
                             GetHostKeyVerifier());
}

bool CZERDNetwork::SessionOpen(char* account, char* password)
{
    return m_session->Request(ClientRequest::Login(TextOf(account), TextOf(password)));
}

bool CZERDNetwork::SessionPoll() { return m_session->Request(ClientRequest::Of(MessageType::Poll)); }

bool CZERDNetwork::GetDVRInfo() { return m_session->Request(ClientRequest::Of(MessageType::GetSettings)); }

ZERD_INFO_BLK CZERDNetwork::GetReceivedDVRInfo() const { return m_session->Inbox().Settings(); }

bool CZERDNetwork::SetDVRInfo(void* section, unsigned char sectionNumber)
{
    auto span = SectionSpan(sectionNumber);
    if (!section || !span)
        return false;
    std::vector<std::uint8_t> payload(2 + span->size, 0);
    payload[0] = sectionNumber;
    std::memcpy(payload.data() + 2, section, span->size);
    return m_session->Request(ClientRequest::Of(MessageType::WriteSection, std::move(payload)));
}

bool CZERDNetwork::LiveMediaControl(unsigned short videoMask, unsigned short audioMask)
{
    wire::LiveControlMessage message;
    message.videoMask = videoMask;
    message.audioMask = audioMask;
    message.udpPort = m_session->MediaPort();
    return m_session->Request(ClientRequest::Of(MessageType::LiveControl, message.Encode()));
}

bool CZERDNetwork::SetPacketLiveMediaCallback(PacketLiveMediaCallback callback, void* context)
{
    return m_session->SetCallback(callback, context);
}

unsigned short CZERDNetwork::GetVideoChannelMask() const { return m_session->Inbox().VideoMask(); }
unsigned short CZERDNetwork::GetAudioChannelMask() const { return m_session->Inbox().AudioMask(); }
unsigned short CZERDNetwork::GetSensorStatusMask() const { return m_session->Inbox().SensorMask(); }

netauth::DroppedDatagrams CZERDNetwork::GetDroppedDatagrams() const { return m_session->Inbox().Dropped(); }

bool CZERDNetwork::PutSerialPortData(unsigned char* data, int length)
{
    if (!data || length <= 0 || length > kMaxSerialBytes)
        return false;
    return m_session->Request(ClientRequest::Of(MessageType::SerialData, std::vector<std::uint8_t>(data, data + length)));
}

bool CZERDNetwork::DownloadLOG(unsigned short year, unsigned char month, unsigned char day)
{
    wire::DateMessage message;
    message.year = year;
    message.month = month;
    message.day = day;
    if (!m_session->Request(ClientRequest::Of(MessageType::LogOpen, message.Encode())))
        return false;
    // Blocks of an earlier download nobody took must not pass for this one's.
    m_session->Caller().nextLogBlock = 0;
    while (m_session->Inbox().TakeLogBlock(m_session->Caller().takenLogBlock)) {
    }
    return true;
}

unsigned CZERDNetwork::GetLogFileSize() const { return m_session->Inbox().LogSize(); }

bool CZERDNetwork::GetLOGFileBlock(unsigned char block)
{
    // The caller's block byte is only a tag: it need not start at 0 and wraps
    // after 255, so the library counts the blocks of the open log itself.
    wire::LogBlockRequestMessage message;
    message.index = m_session->Caller().nextLogBlock;
    message.tag = block;
    if (!m_session->Request(ClientRequest::Of(MessageType::LogBlockRequest, message.Encode())))
        return false;
    ++m_session->Caller().nextLogBlock;
    return true;
}

unsigned char* CZERDNetwork::GetLOGFileChunkData(int& length)
{
    std::vector<std::uint8_t>& taken = m_session->Caller().takenLogBlock;
    m_session->Inbox().TakeLogBlock(taken);
    length = static_cast<int>(taken.size());
    taken.reserve(1);
    return taken.data();
}

bool CZERDNetwork::GetRecordingProfile_Monthley(unsigned short year, unsigned char month)
{
    wire::MonthProfileRequestMessage message;
    message.year = year;
    message.month = month;
    if (!m_session->Request(ClientRequest::Of(MessageType::MonthProfileRequest, message.Encode())))
        return false;
    m_session->Caller().profileYear = year;
    m_session->Caller().profileMonth = month;
    return true;
}

unsigned CZERDNetwork::GetRecordingMonthleyProfile_Data() const
{
    return m_session->Inbox().MonthProfile().dayMask;
}

RecordingMonth CZERDNetwork::GetRecordingMonthleyProfile_Month() const { return m_session->Inbox().MonthProfile(); }

bool CZERDNetwork::GetRecordingProfile_Daily(unsigned char day, unsigned char block)
{
    NetSession::CallerState& caller = m_session->Caller();
    // Block 0 or another day starts the day's profile again.
    if (block == 0 || day != caller.dailyDay)
        caller.nextDailyBlock = 0;
    wire::DailyProfileRequestMessage message;
    message.year = caller.profileYear;
    message.month = caller.profileMonth;
    message.day = day;
    message.index = caller.nextDailyBlock;
    message.tag = block;
    if (!m_session->Request(ClientRequest::Of(MessageType::DailyProfileRequest, message.Encode())))
        return false;
    caller.dailyDay = day;
    ++caller.nextDailyBlock;
    return true;
}

unsigned char* CZERDNetwork::GetRecordingDailyProfile_Data(int& length)
{
    std::vector<std::uint8_t>& taken = m_session->Caller().takenDailyBlock;
    m_session->Inbox().TakeDailyBlock(taken);
    length = static_cast<int>(taken.size());
    taken.reserve(1);
    return taken.data();
}

bool CZERDNetwork::Fileupload(char* fileName, unsigned long size)
{
    wire::UploadStartMessage message;
    message.name = BaseName(TextOf(fileName));
    if (message.name.empty() || message.name.size() > wire::kMaxUploadName || size > wire::kMaxUploadSize)
        return false;
    message.size = static_cast<std::uint32_t>(size);
    return m_session->Request(ClientRequest::Of(MessageType::UploadStart, message.Encode()));
}

bool CZERDNetwork::WriteFileChunk(void* data, int length, unsigned char sequence, unsigned char last)
{
    if (length < 0 || length > kMaxUploadChunk || (length > 0 && !data))
        return false;
    wire::UploadChunkMessage message;
    message.sequence = sequence;
    message.last = last != 0;
    message.data = static_cast<const std::uint8_t*>(data);
    message.length = static_cast<std::uint32_t>(length);
    return m_session->Request(ClientRequest::Of(MessageType::UploadChunk, message.Encode()));
}

bool CZERDNetwork::Destroy() { return m_session->Stop(); }

bool CZERDNetwork::SessionClose() { return m_session->Close(); }

bool StartUnicastChannelMonitoring() { return DiscoveryMonitor::Instance().Start(); }

bool SetNotifyWindow(unsigned message, HWND window)
{
    DiscoveryMonitor::Instance().SetNotifyWindow(message, window);
    return true;
}

bool ZERDScan() { return DiscoveryMonitor::Instance().Scan(); }

bool StopUnicastChannelMonitoring() { return DiscoveryMonitor::Instance().Stop(); }
