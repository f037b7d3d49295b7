#include "core/servers/HostKeyChangeText.h"

#include "core/servers/HostKeyPin.h"

namespace {

// A damaged stored value is shown, not trusted: cut short and without control
// characters, so it can neither flood the box nor break dvrctl's single line.
constexpr std::size_t kShownBytes = 80;

std::string Printable(const std::string& fingerprint)
{
    if (fingerprint.empty())
        return "(none readable)";
    std::string text = fingerprint.substr(0, kShownBytes);
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = '?';
    if (fingerprint.size() > kShownBytes)
        text += "...";
    return text;
}

std::string Address(const HostKeyChange& change)
{
    return HostKeyPinName(change.host, change.port);
}

} // namespace

std::string HostKeyQuestionText(const HostKeyChange& change)
{
    return "The recorder at " + Address(change) + " now shows another key.\nKept: " + Printable(change.kept)
        + "\nShown: " + Printable(change.shown)
        + "\nSomebody may be listening in between. Trust the new key and connect?";
}

std::string HostKeyRefusalLine(const HostKeyChange& change)
{
    return "the recorder at " + Address(change) + " shows another key than the one kept (kept "
        + Printable(change.kept) + ", shown " + Printable(change.shown)
        + "); somebody may be listening in between, --accept-new-key trusts the new key";
}
