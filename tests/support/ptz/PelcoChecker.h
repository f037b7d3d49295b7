#pragma once

// An independent reading of the public Pelco-D and Pelco-P framings, to check
// what our drivers write (written from the protocol documents, not from the
// drivers' code).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct PelcoFrame {
    enum class Kind { D, P } kind = Kind::D;
    unsigned address = 0;  // as on the wire
    // Movement and lens bits by name, the two speeds, and a preset op.
    bool left = false, right = false, up = false, down = false, zoomTele = false, zoomWide = false;
    bool focusNear = false, focusFar = false, irisOpen = false, irisClose = false;
    unsigned panSpeed = 0, tiltSpeed = 0;
    int presetOp = 0;  // 0 none, 3 set, 5 clear, 7 call
    unsigned preset = 0;

    bool IsStop() const
    {
        return !left && !right && !up && !down && !zoomTele && !zoomWide && !focusNear && !focusFar && !irisOpen
            && !irisClose && presetOp == 0;
    }
};

// Reads exactly one frame; nullopt with *why for anything else.
inline std::optional<PelcoFrame> CheckPelco(const std::vector<std::uint8_t>& b, std::string* why)
{
    PelcoFrame f;
    if (b.size() == 7 && b[0] == 0xFF) {
        unsigned sum = 0;
        for (std::size_t i = 1; i <= 5; ++i)
            sum += b[i];
        if ((sum & 0xFF) != b[6])
            return *why = "Pelco-D checksum", std::nullopt;
        f.kind = PelcoFrame::Kind::D;
        f.address = b[1];
        const std::uint8_t c1 = b[2], c2 = b[3];
        if (c2 & 0x01) {  // extended command: word 0x00 0xNN with data
            if (c1 != 0 || (c2 != 0x03 && c2 != 0x05 && c2 != 0x07) || b[4] != 0)
                return *why = "unknown Pelco-D extended command", std::nullopt;
            f.presetOp = c2;
            f.preset = b[5];
            return f;
        }
        if (c1 & 0xF8)
            return *why = "Pelco-D command 1 has bits beyond focus near and iris", std::nullopt;
        f.focusNear = c1 & 0x01;
        f.irisOpen = c1 & 0x02;
        f.irisClose = c1 & 0x04;
        f.right = c2 & 0x02;
        f.left = c2 & 0x04;
        f.up = c2 & 0x08;
        f.down = c2 & 0x10;
        f.zoomTele = c2 & 0x20;
        f.zoomWide = c2 & 0x40;
        f.focusFar = c2 & 0x80;
        f.panSpeed = b[4];
        f.tiltSpeed = b[5];
        if (f.panSpeed > 0x3F || f.tiltSpeed > 0x3F)
            return *why = "Pelco-D speed beyond 0x3F", std::nullopt;
        return f;
    }
    if (b.size() == 8 && b[0] == 0xA0) {
        if (b[6] != 0xAF)
            return *why = "Pelco-P end byte", std::nullopt;
        std::uint8_t x = 0;
        for (std::size_t i = 0; i < 7; ++i)
            x ^= b[i];
        if (x != b[7])
            return *why = "Pelco-P check byte", std::nullopt;
        f.kind = PelcoFrame::Kind::P;
        f.address = b[1];
        const std::uint8_t d1 = b[2], d2 = b[3];
        if (d2 & 0x01) {
            if (d1 != 0 || (d2 != 0x03 && d2 != 0x05 && d2 != 0x07) || b[4] != 0)
                return *why = "unknown Pelco-P extended command", std::nullopt;
            f.presetOp = d2;
            f.preset = b[5];
            return f;
        }
        if (d1 & 0xF0 || d2 & 0x80)
            return *why = "Pelco-P reserved bits", std::nullopt;
        f.focusFar = d1 & 0x01;
        f.focusNear = d1 & 0x02;
        f.irisOpen = d1 & 0x04;
        f.irisClose = d1 & 0x08;
        f.right = d2 & 0x02;
        f.left = d2 & 0x04;
        f.up = d2 & 0x08;
        f.down = d2 & 0x10;
        f.zoomTele = d2 & 0x20;
        f.zoomWide = d2 & 0x40;
        f.panSpeed = b[4];
        f.tiltSpeed = b[5];
        if (f.panSpeed > 0x40 || f.tiltSpeed > 0x3F)
            return *why = "Pelco-P speed beyond its range", std::nullopt;
        return f;
    }
    return *why = "neither a Pelco-D nor a Pelco-P frame", std::nullopt;
}
