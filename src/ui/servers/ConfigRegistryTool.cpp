#include "ui/servers/ConfigRegistryTool.h"

#include "platform/app/DrivePaths.h"

#include <QFileInfo>
#include <QProcess>

namespace {

// Exporting or importing the program's branch takes well under a second; a
// stuck editor must not freeze the window for good.
constexpr int kEditorTimeLimitMs = 60000;

QString EditorProgram()
{
    const QString beside = QString::fromStdString(drive::InstallFolder()) + "/dvr-regedit";
    return QFileInfo(beside).isExecutable() ? beside : QStringLiteral("dvr-regedit");
}

} // namespace

bool RunRegistryEditor(const std::vector<std::string>& arguments, const QString& workingFolder)
{
    QStringList args;
    for (const auto& argument : arguments)
        args << QString::fromStdString(argument);
    QProcess editor;
    editor.setProcessChannelMode(QProcess::ForwardedChannels);
    editor.setWorkingDirectory(workingFolder);
    editor.start(EditorProgram(), args);
    if (!editor.waitForStarted())
        return false;
    if (!editor.waitForFinished(kEditorTimeLimitMs)) {
        editor.kill();
        editor.waitForFinished();
        return false;
    }
    return editor.exitStatus() == QProcess::NormalExit && editor.exitCode() == 0;
}
