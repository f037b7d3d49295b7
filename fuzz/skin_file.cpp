// Skin files come from disk and may be edited by anyone: the sheet checker
// must refuse any bytes without crashing or hanging.
#include "platform/skin/SkinSheet.h"

#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A real folder with one image, so that url() checks reach the file system.
    static QTemporaryDir folder;
    static const bool ready = [] {
        QFile image(folder.path() + "/face.svg");
        return image.open(QIODevice::WriteOnly) && image.write("<svg/>") > 0;
    }();
    if (!ready)
        return 0;
    const SkinSheet sheet = ParseSkinSheet(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)),
                                           folder.path());
    if (sheet.ok) {
        for (const char* element : {"m_btn_Config", "m_btn_Video_1", "a"})
            (void)sheet.SheetFor(element);
    }
    return 0;
}
