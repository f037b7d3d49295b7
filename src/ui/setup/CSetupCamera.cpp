#include "ui/setup/CSetupCamera.h"

#include "core/dvr/DvrModel.h"
#include "core/dvr/SettingsBlock.h"
#include "core/dvr/SettingsLists.h"
#include "core/setup/SetupFieldLimits.h"
#include "core/setup/SetupSectionCopies.h"
#include "ui/controls/CNumericEdit.h"
#include "ui/setup/CMotionGridView.h"
#include "ui/setup/SetupControls.h"
#include "ui/setup/SetupSession.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

using namespace setupui;

namespace {

constexpr int kRowHeight = 26;

struct PairSpec {
    const char* label;
    int low;
    int high;
    int initial;
    int page;
};
constexpr PairSpec kPairs[CSetupCamera::kPairCount] = {
    {"Sensitivity", 10, 100, 80, 10}, {"Fps", 0, 30, 30, 3},       {"Bright", 0, 255, 0, 20},
    {"Contrast", 0, 255, 96, 20},     {"Hue", 0, 255, 0, 20},      {"PTZ_ID", 0, 255, 0, 20}};

QStringList Entries(const auto& names)
{
    QStringList entries;
    for (const char* name : names)
        entries << name;
    return entries;
}

} // namespace

CSetupCamera::CSetupCamera(SetupSession& session, SetupSectionCopies& copies, QWidget* parent)
    : CSetupPage(session, copies, parent)
{
    for (int n = 0; n < static_cast<int>(kMaxChannels); ++n) {
        m_channels[n] = CheckButton(this, kFirstChannel + n, QString::number(n + 1),
                                    QRect(10 + (n % 8) * 34, 10 + (n / 8) * 34, 30, 30));
        m_channels[n]->setAccessibleName(QString("Camera %1").arg(n + 1));
        connect(m_channels[n], &QPushButton::clicked, this, [this, n] { SelectChannel(n); });
    }
    CheckButton(this, kAllChannels, "All", QRect(10, 80, 50, 26))->hide();
    Label(this, "Name", QRect(10, 90, 80, kRowHeight));
    m_name = Edit(this, kName, "Name", static_cast<int>(kCameraNameMaxLength), QRect(100, 90, 180, kRowHeight));
    Label(this, "Quality", QRect(10, 130, 80, kRowHeight));
    m_quality = DropList(this, kQuality, "Quality", Entries(kQualityNames), QRect(100, 130, 180, kRowHeight));
    m_quality->setCurrentIndex(3);
    Label(this, "PTZ_NO", QRect(10, 170, 80, kRowHeight));
    m_ptzProtocol = DropList(this, kPtzProtocol, "PTZ_NO", Entries(kPtzProtocolNames), QRect(100, 170, 180, kRowHeight));
    auto* motion = CheckButton(this, kMotionMode, "MOTION", QRect(10, 215, 80, 28));
    motion->hide();
    connect(Button(this, kMarkAll, "All", QRect(100, 215, 85, 28)), &QPushButton::clicked, this,
            [this] { MarkAll(true); });
    connect(Button(this, kClear, "Clear", QRect(195, 215, 85, 28)), &QPushButton::clicked, this,
            [this] { MarkAll(false); });

    for (int p = 0; p < kPairCount; ++p) {
        const PairSpec& spec = kPairs[p];
        const int y = 265 + p * 32;
        Label(this, spec.label, QRect(10, y, 100, kRowHeight));
        auto* slider = Placed(new QSlider(Qt::Horizontal, this), kPairIds[p].slider, spec.label,
                              QRect(120, y, 400, kRowHeight));
        slider->setRange(spec.low, spec.high);
        slider->setPageStep(spec.page);
        slider->setValue(spec.initial);
        auto* edit = Placed(new CNumericEdit(this), kPairIds[p].edit, spec.label, QRect(530, y, 80, kRowHeight));
        edit->SetRange(spec.low, spec.high);
        edit->SetValue(spec.initial);
        connect(slider, &QSlider::valueChanged, edit, &CNumericEdit::SetValue);
        // A typed number moves the slider too, so it is what gets stored.
        connect(edit, &CNumericEdit::valueChanged, slider, &QSlider::setValue);
        m_sliders[p] = slider;
        m_edits[p] = edit;
    }

    m_preview = new CMotionGridView({&m_lock, &m_grid, &m_channel, &m_twoGrids}, this);
    m_preview->SetClickHandler([this](int x, int y) { PreviewClicked(x, y); });
    m_previewStart.setSingleShot(true);
    m_previewStart.setInterval(kPreviewStartMs);
    connect(&m_previewStart, &QTimer::timeout, this, [this] {
        if (isHidden())
            return;
        m_session.StartPreviewVideo();
        // Live start lays out the panes for the main window: the preview takes them back.
        showPreview(SelectedChannel());
    });

    connect(Button(this, kPreValue, "Pre-Value", QRect(430, 470, 100, 32)), &QPushButton::clicked, this,
            &CSetupCamera::PreValue);
    connect(Button(this, kDefault, "Default", QRect(540, 470, 100, 32)), &QPushButton::clicked, this,
            &CSetupCamera::Default);
    connect(Button(this, kSend, "Send", QRect(650, 470, 100, 32)), &QPushButton::clicked, this,
            &CSetupCamera::Send);
}

std::uint8_t CSetupCamera::typeCode() const
{
    return m_session.DvrTypeCode();
}

int CSetupCamera::SelectedChannel() const
{
    const std::lock_guard<std::mutex> hold(m_lock);
    return m_channel;
}

bool CSetupCamera::TwoGrids() const
{
    const std::lock_guard<std::mutex> hold(m_lock);
    return m_twoGrids;
}

CameraChannelFields CSetupCamera::shown() const
{
    CameraChannelFields f;
    f.name = m_name->text().toLatin1().toStdString();
    f.sensitivity = m_edits[kSensitivity]->Value();
    f.frameRate = m_sliders[kFrameRate]->value();
    f.brightness = m_sliders[kBrightness]->value();
    f.contrast = m_sliders[kContrast]->value();
    f.hue = m_sliders[kHue]->value();
    f.ptzAddress = m_sliders[kPtzAddress]->value();
    f.qualityPosition = m_quality->currentIndex();
    f.ptzProtocolPosition = m_ptzProtocol->currentIndex();
    return f;
}

void CSetupCamera::show(const CameraChannelFields& f)
{
    m_name->setText(QString::fromLatin1(f.name));
    const int values[kPairCount] = {f.sensitivity, f.frameRate, f.brightness, f.contrast, f.hue, f.ptzAddress};
    for (int p = 0; p < kPairCount; ++p)
        m_sliders[p]->setValue(values[p]);
    m_quality->setCurrentIndex(f.qualityPosition);
    m_ptzProtocol->setCurrentIndex(f.ptzProtocolPosition);
}

void CSetupCamera::unpackGrid()
{
    const std::lock_guard<std::mutex> hold(m_lock);
    m_grid = UnpackMotionGrid(m_copies.working.camera);
    m_twoGrids = CameraTwoGridMode(typeCode(), m_copies.working.recordSet.resolution[0] != 0);
}

void CSetupCamera::showChannel(int channel)
{
    {
        const std::lock_guard<std::mutex> hold(m_lock);
        m_channel = channel;
    }
    if (channel >= 0)
        show(FillCameraChannel(m_copies.working.camera, channel));
    showPreview(channel);
}

QWidget* CSetupCamera::Preview() const
{
    if (m_lentWindow)
        return m_lentWindow;
    return m_preview;
}

void CSetupCamera::showPreview(int channel)
{
    if (m_lentWindow)
        m_session.ShowPreviewChannel(channel, &CMotionGridView::Render, m_preview);
    repaintPreview();
}

void CSetupCamera::repaintPreview()
{
    Preview()->update();
}

void CSetupCamera::storeChannel(int channel)
{
    StoreCameraChannel(shown(), m_copies.working.camera, channel, typeCode());
    const std::lock_guard<std::mutex> hold(m_lock);
    PackMotionGrid(m_grid, m_copies.working.camera);
}

void CSetupCamera::SelectChannel(int channel)
{
    for (int n = 0; n < static_cast<int>(kMaxChannels); ++n)
        if (n != channel && m_channels[n]->isChecked())
            storeChannel(n);
    for (QPushButton* button : m_channels)
        button->setChecked(false);
    m_channels[channel]->setChecked(true);
    showChannel(channel);
}

void CSetupCamera::AfterShow()
{
    m_lentWindow = m_session.LendVideoWindow(this, CMotionGridView::kPlace);
    m_preview->setVisible(m_lentWindow == nullptr);
    unpackGrid();
    for (QPushButton* button : m_channels) {
        button->setEnabled(true);
        button->setChecked(false);
    }
    SelectChannel(0);
    PreValue();
    if (m_lentWindow)
        m_previewStart.start();
}

void CSetupCamera::PreValue()
{
    m_copies.RestoreBaseline(kSectionCamera);
    unpackGrid();
    showChannel(SelectedChannel());
}

void CSetupCamera::Default()
{
    SetCameraDefaults(m_copies.working.camera);
    unpackGrid();
    showChannel(SelectedChannel());
}

void CSetupCamera::Send()
{
    const int channel = SelectedChannel();
    if (channel >= 0 && m_channels[channel]->isChecked())
        storeChannel(channel);
    m_session.WriteSection(m_copies, kSectionCamera);
}

void CSetupCamera::PreviewClicked(int x, int y)
{
    {
        const std::lock_guard<std::mutex> hold(m_lock);
        ToggleMotionCell(m_grid, m_channel, m_twoGrids, x, y, CMotionGridView::kPlace.width(),
                         CMotionGridView::kPlace.height());
    }
    repaintPreview();
}

void CSetupCamera::MarkAll(bool watched)
{
    {
        const std::lock_guard<std::mutex> hold(m_lock);
        SetMotionCells(m_grid, m_channel, m_twoGrids, watched);
    }
    repaintPreview();
}

void CSetupCamera::ApplyModelLimits(std::uint8_t dvrTypeCode)
{
    const DvrModelInfo* model = FindDvrModel(dvrTypeCode);
    // The channels the recorder has stand for the ones live in the main window.
    const std::uint16_t live = model ? static_cast<std::uint16_t>((1u << model->channels) - 1) : 0xFFFF;
    const std::uint16_t enabled =
        CameraEnabledChannels(dvrTypeCode, live, m_copies.working.recordSet.resolution[0] != 0);
    for (int n = 0; n < static_cast<int>(kMaxChannels); ++n)
        if (!(enabled & (1u << n))) {
            m_channels[n]->setEnabled(false);
            m_channels[n]->setChecked(false);
        }
}

void CSetupCamera::OnSetupExit()
{
    m_previewStart.stop();
    // The main window takes its video window back.
    m_lentWindow = nullptr;
    m_preview->show();
    for (QPushButton* button : m_channels) {
        button->setEnabled(true);
        button->setChecked(false);
    }
    const std::lock_guard<std::mutex> hold(m_lock);
    m_channel = -1;
}
