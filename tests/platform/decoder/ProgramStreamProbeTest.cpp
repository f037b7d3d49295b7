#include "DecoderTestSupport.h"

#include "platform/decoder/MPEG4MultiDecoder.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

using namespace dectest;

// A file of our pack header, our map and our PES units is a program stream
// that the ffmpeg tools read with the right streams.
TEST(ProgramStreamProbe, FfprobeReadsOurHeaderMapAndUnits)
{
    const std::string path = MakeTempDir() + "/ours.mpg";
    {
        std::ofstream file(path, std::ios::binary);
        auto write = [&](const std::vector<uint8_t>& bytes) {
            file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        };
        write(PackHeader());
        write(ClientMap(0x84));
        const auto units = ReadAccessUnits(GetMedia().h264Cif);
        for (size_t i = 0; i < units.size(); ++i) {
            for (const auto& pes : Packetize(0xE3, 3600 * (i + 1), units[i].data))
                write(pes);
            std::vector<uint8_t> audio = {0x00, 0x00, 0x01, 0xC1, 0x01, 0x43, 0x84, 0x00, 0x00};
            audio.resize(9 + 320, 0xFF);
            write(audio);
        }
    }
    const std::string streams = RunCapture("ffprobe -v error -show_entries stream=id,codec_type,codec_name,width,height "
                                           "-of csv=p=0 " + path);
    EXPECT_NE(streams.find("h264,video,352,288,0x1e3"), std::string::npos) << streams;
    EXPECT_NE(streams.find("audio"), std::string::npos) << streams;
    EXPECT_NE(streams.find("0x1c1"), std::string::npos) << streams;
}

} // namespace
