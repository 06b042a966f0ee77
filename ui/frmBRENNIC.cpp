#include "ui/frmBRENNIC.h"

#include "platform/FileSystem.h"
#include "platform/qt/FolderChooser.h"
#include "platform/qt/OpenLink.h"
#include "ui/EngineText.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QUrl>
#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

#ifndef QT_NO_SESSIONMANAGER
#include <QSessionManager>
#endif

namespace brennic::ui {

namespace {

constexpr int kClientWidth = 525;
constexpr int kClientHeight = 432;
constexpr int kTypedOffsetLength = 5;
constexpr std::string_view kWebPage = "https://falvorn.example/brennic/";
constexpr auto kConversionErrorTitle = "D'oh! Error during conversion";

// The layout was drawn in twips, 15 to a pixel.
QRect twips(int left, int top, int width, int height) {
    return {left / 15, top / 15, width / 15, height / 15};
}

QString latin(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// A click toggles between unticked and ticked; the greyed state comes from the settings file
// only (a greyed box counts as off, so a click on it ticks it).
class TwoStateCheckBox : public QCheckBox {
  public:
    using QCheckBox::QCheckBox;

  protected:
    void nextCheckState() override {
        setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
};

// A picture that acts on a click: the press and the release both on it.
class ClickablePicture : public QLabel {
  public:
    ClickablePicture(QWidget* parent, std::function<void()> onClick)
        : QLabel(parent), m_onClick(std::move(onClick)) {
        setCursor(Qt::PointingHandCursor);
    }

  protected:
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
            m_onClick();
        }
    }

  private:
    std::function<void()> m_onClick;
};

enum class Frame { Objectives, Objects, Actions, Debug };

struct Column {
    int left = 0;
    int width = 0;
};

struct BoxPlace {
    QCheckBox* frmBRENNIC::*member = nullptr;
    engine::Switch option = nullptr;
    const char* name = nullptr;
    const char* caption = nullptr;
    const char* toolTip = nullptr;
    Frame frame = Frame::Objects;
    int column = 0;
    int top = 0;
    int height = 0; // 0: the height of the frame's rows
};

} // namespace

// The 35 boxes in their tab order: Objects row by row, Actions, then (after the status box)
// Mission objectives and Debug; Midpointmulti comes last of all.
struct BoxTable {
    static constexpr int kBeforeStatus = 20;
    static constexpr BoxPlace kBoxes[] = {
        {&frmBRENNIC::chkDoor, &engine::ConversionOptions::chkDoor, "chkDoor", "Door", nullptr,
         Frame::Objects, 0, 240},
        {&frmBRENNIC::chkPowerup, &engine::ConversionOptions::chkPowerup, "chkPowerup", "Powerup",
         nullptr, Frame::Objects, 1, 240},
        {&frmBRENNIC::chkBrief, &engine::ConversionOptions::chkBrief, "chkBrief", "Brief", nullptr,
         Frame::Objects, 2, 240},
        {&frmBRENNIC::chkPhone, &engine::ConversionOptions::chkPhone, "chkPhone", "Phone", nullptr,
         Frame::Objects, 0, 600},
        {&frmBRENNIC::chkFuturecar, &engine::ConversionOptions::chkFuturecar, "chkFuturecar",
         "Futurecar", nullptr, Frame::Objects, 1, 600},
        {&frmBRENNIC::chkParked, &engine::ConversionOptions::chkParked, "chkParked", "Parked",
         nullptr, Frame::Objects, 2, 600},
        {&frmBRENNIC::chkDummy, &engine::ConversionOptions::chkDummy, "chkDummy", "Dummy", nullptr,
         Frame::Objects, 0, 960},
        {&frmBRENNIC::chkFuturePed, &engine::ConversionOptions::chkFuturePed, "chkFuturePed",
         "FuturePed", nullptr, Frame::Objects, 1, 960},
        {&frmBRENNIC::chkPed, &engine::ConversionOptions::chkPed, "chkPed", "Ped", nullptr,
         Frame::Objects, 2, 960},
        {&frmBRENNIC::chkTarget, &engine::ConversionOptions::chkTarget, "chkTarget", "Target",
         nullptr, Frame::Objects, 0, 1320},
        {&frmBRENNIC::chkFuture, &engine::ConversionOptions::chkFuture, "chkFuture",
         "Future object", nullptr, Frame::Objects, 1, 1320},
        {&frmBRENNIC::chkTrigger, &engine::ConversionOptions::chkTrigger, "chkTrigger", "Trigger",
         nullptr, Frame::Objects, 2, 1320},
        {&frmBRENNIC::chkSpray, &engine::ConversionOptions::chkSpray, "chkSpray", "Spray",
         "Sprayshop", Frame::Objects, 0, 1680},
        {&frmBRENNIC::chkBomb, &engine::ConversionOptions::chkBomb, "chkBomb", "Bomb", "Bombshop",
         Frame::Objects, 1, 1680},
        {&frmBRENNIC::chkHells, &engine::ConversionOptions::chkHells, "chkHells", "Hells",
         "GTA1 bike", Frame::Objects, 2, 1680},
        {&frmBRENNIC::chkINCHEADS, &engine::ConversionOptions::chkINCHEADS, "chkINCHEADS",
         "INC Heads", "increase wanted level", Frame::Actions, 0, 240},
        {&frmBRENNIC::chkMission_End, &engine::ConversionOptions::chkMission_End, "chkMission_End",
         "Mission End", "Doesn't do anything yet", Frame::Actions, 1, 240},
        {&frmBRENNIC::chkEnd, &engine::ConversionOptions::chkEnd, "chkEnd", "Level End",
         "Ends level (best not to tick it yet)", Frame::Actions, 2, 240},
        {&frmBRENNIC::chkArrowcar, &engine::ConversionOptions::chkArrowcar, "chkArrowcar",
         "Arrowcar", "point arrows at vehicles (the vehicle must exist)", Frame::Actions, 0, 600},
        {&frmBRENNIC::chkArrow, &engine::ConversionOptions::chkArrow, "chkArrow", "Arrow",
         "Point arrows at what they are supposed to point at (some objects don't exist so you "
         "will have to delete those arrow lines)",
         Frame::Actions, 1, 600},
        {&frmBRENNIC::chkSteal, &engine::ConversionOptions::chkSteal, "chkSteal", "Steal",
         "waits for player to enter a vehicle", Frame::Objectives, 0, 240},
        {&frmBRENNIC::chkAnswerPhone, &engine::ConversionOptions::chkAnswerPhone, "chkAnswerPhone",
         "Answer Phone", "waits for player to answer a phone", Frame::Objectives, 1, 240},
        {&frmBRENNIC::chkPark, &engine::ConversionOptions::chkPark, "chkPark", "Park",
         "waits for player to park a vehicle in a garage", Frame::Objectives, 0, 600},
        {&frmBRENNIC::chkDestroy, &engine::ConversionOptions::chkDestroy, "chkDestroy", "Destroy",
         "waits for player to destroy an object", Frame::Objectives, 1, 600},
        {&frmBRENNIC::chkMphone, &engine::ConversionOptions::chkMphone, "chkMphone", "MPHONE",
         nullptr, Frame::Objectives, 0, 960},
        {&frmBRENNIC::chkLocate, &engine::ConversionOptions::chkLocate, "chkLocate", "Locate",
         "waits for player to locate an object", Frame::Objectives, 1, 960},
        {&frmBRENNIC::chkGoto, &engine::ConversionOptions::chkGoto, "chkGoto", "Goto",
         "waits for player to go to a location", Frame::Objectives, 0, 1320},
        {&frmBRENNIC::chkIsGoalDead, &engine::ConversionOptions::chkIsGoalDead, "chkIsGoalDead",
         "Is Goal Dead", "checks if a ped is dead", Frame::Objectives, 1, 1320},
        {&frmBRENNIC::chkCheckCar, &engine::ConversionOptions::chkCheckCar, "chkCheckCar",
         "Check Car", "checks if player is in a specific vehicle", Frame::Objectives, 0, 1680},
        {&frmBRENNIC::chkUnknown, &engine::ConversionOptions::chkUnknown, "chkUnknown",
         "Unknown code", "Convert all unrecognised GTA1 code into a GTA2 comment", Frame::Debug, 0,
         240},
        {&frmBRENNIC::chkDoorArrow, &engine::ConversionOptions::chkDoorArrow, "chkDoorArrow",
         "Door hunt", "points arrows at each garage door", Frame::Debug, 1, 240},
        {&frmBRENNIC::chkFutureCarArrow, &engine::ConversionOptions::chkFutureCarArrow,
         "chkFutureCarArrow", "Futurecar hunt", "points arrows at each futurecar", Frame::Debug, 0,
         480},
        {&frmBRENNIC::chkPedHunt, &engine::ConversionOptions::chkPedHunt, "chkPedHunt", "Ped hunt",
         "points arrows at each ped", Frame::Debug, 1, 480},
        {&frmBRENNIC::chkPowerupRespawn, &engine::ConversionOptions::chkPowerupRespawn,
         "chkPowerupRespawn", "Powerup respawn", "Makes all POWERUPs respawn (creates GENERATORS)",
         Frame::Debug, 0, 720},
        {&frmBRENNIC::chkMidPointMulti, &engine::ConversionOptions::chkMidPointMulti,
         "chkMidPointMulti", "Midpointmulti", nullptr, Frame::Objects, 1, 2040, 195},
    };
};

namespace {

// Each frame's columns: the left edge from the layout, the width up to the next column.
std::vector<Column> columnsOf(Frame frame) {
    switch (frame) {
    case Frame::Objectives:
        return {{240, 1260}, {1560, 1755}};
    case Frame::Objects:
        return {{120, 1260}, {1440, 1500}, {3000, 1155}};
    case Frame::Actions:
        return {{120, 1140}, {1320, 1260}, {2640, 1155}};
    case Frame::Debug:
        return {{240, 1620}, {1920, 1755}};
    }
    return {};
}

// Debug rows stand 240 twips apart, the others 360.
int heightOf(const BoxPlace& place) {
    if (place.height != 0) {
        return place.height;
    }
    return place.frame == Frame::Debug ? 240 : 255;
}

Qt::CheckState checkStateOf(settings::BoxState state) {
    switch (state) {
    case settings::BoxState::Unticked:
        break;
    case settings::BoxState::Ticked:
        return Qt::Checked;
    case settings::BoxState::Greyed:
        return Qt::PartiallyChecked;
    }
    return Qt::Unchecked;
}

settings::BoxState boxStateOf(Qt::CheckState state) {
    switch (state) {
    case Qt::Unchecked:
        break;
    case Qt::Checked:
        return settings::BoxState::Ticked;
    case Qt::PartiallyChecked:
        return settings::BoxState::Greyed;
    }
    return settings::BoxState::Unticked;
}

} // namespace

frmBRENNIC::frmBRENNIC(WindowServices services) : m_services(std::move(services)) {
    if (m_services.settingsFile.empty()) {
        m_services.settingsFile = settings::settingsFilePath(platform::executableFolder());
    }
    if (!m_services.chooseFolder) {
        m_services.chooseFolder = platform::qt::chooseFolder;
    }
    if (!m_services.showMessage) {
        m_services.showMessage = [this](QMessageBox::Icon icon, const QString& title,
                                        const QString& message) {
            QMessageBox box(icon, title, message, QMessageBox::Ok, this);
            box.exec();
        };
    }
    if (!m_services.openLink) {
        m_services.openLink = platform::qt::openLink;
    }

    setObjectName(QStringLiteral("frmBRENNIC"));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    QFont small = font();
    small.setPixelSize(10);
    setFont(small);

    createControls();
    createCheckBoxes();
    chainTabOrder();

    connect(cmdConvert, &QPushButton::clicked, this, [this] { cmdConvert_Click(); });
    // A session's end and a quit from elsewhere are close requests too; closeEvent does not see
    // them. Form_QueryUnload saves only once, whichever comes first.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { Form_QueryUnload(); });
#ifndef QT_NO_SESSIONMANAGER
    connect(qApp, &QGuiApplication::commitDataRequest, this,
            [this](QSessionManager&) { Form_QueryUnload(); });
#endif

    Form_Load();
}

frmBRENNIC::~frmBRENNIC() = default;

void frmBRENNIC::createControls() {
    const auto place = [](QWidget* control, const char* name, QRect where) {
        control->setObjectName(QLatin1String(name));
        control->setGeometry(where);
    };
    const auto label = [&place](QWidget* parent, const char* name, const char* caption,
                                QRect where) {
        auto* control = new QLabel(QLatin1String(caption), parent);
        place(control, name, where);
        return control;
    };
    const auto textBox = [&place](QWidget* parent, const char* name, QRect where) {
        auto* control = new QLineEdit(parent);
        place(control, name, where);
        return control;
    };
    const auto frame = [&place](const char* name, const char* caption, QRect where,
                                QWidget* parent) {
        auto* control = new QGroupBox(QLatin1String(caption), parent);
        place(control, name, where);
        return control;
    };
    const QPixmap folderPicture =
        style()->standardIcon(QStyle::SP_DirOpenIcon).pixmap(QSize(16, 13));
    const auto picture = [&place, &folderPicture](QWidget* parent, const char* name, QRect where,
                                                  std::function<void()> onClick) {
        auto* control = new ClickablePicture(parent, std::move(onClick));
        control->setPixmap(folderPicture);
        place(control, name, where);
        return control;
    };

    Label4 = label(this, "Label4", "Program by Falvorn Company", twips(120, 120, 1335, 495));
    Label4->setWordWrap(true);
    Label1 = label(this, "Label1", "GTA1 mission folder:", twips(1560, 120, 1680, 255));
    imgMissionFolder = picture(this, "imgMissionFolder", twips(3240, 120, 240, 195),
                               [this] { imgMissionFolder_Click(); });
    imgMissionFolder->setToolTip(QStringLiteral("GTA1 mission folder, gtadata or gtadata\\uk"));
    txtGTA1iniFile = textBox(this, "txtGTA1iniFile", twips(3600, 120, 3015, 285));
    Label2 = label(this, "Label2", "GTA2 output folder:", twips(1560, 480, 1680, 255));
    imgOutputFolder = picture(this, "imgOutputFolder", twips(3240, 480, 240, 195),
                              [this] { imgOutputFolder_Click(); });
    txtOutputFolder = textBox(this, "txtOutputFolder", twips(3600, 480, 3015, 285));

    Frame2 = frame("Frame2", "Mission objectives", twips(120, 840, 3375, 2175), this);
    Frame1 = frame("Frame1", "Objects", twips(3600, 840, 4215, 2295), this);
    fraActions = frame("fraActions", "Actions", twips(120, 3120, 3855, 975), this);
    Frame3 = frame("Frame3", "Debug", twips(4080, 3120, 3735, 1695), this);
    Label3 = label(Frame3, "Label3", "X, Y, Z coordinate offset", twips(240, 1080, 3375, 255));
    txtXoffset = textBox(Frame3, "txtXoffset", twips(240, 1320, 495, 285));
    txtYoffset = textBox(Frame3, "txtYoffset", twips(840, 1320, 495, 285));
    txtZoffset = textBox(Frame3, "txtZoffset", twips(1440, 1320, 495, 285));
    m_offsetBoxes = {txtXoffset, txtYoffset, txtZoffset};
    for (QLineEdit* box : m_offsetBoxes) {
        box->setMaxLength(kTypedOffsetLength);
    }
    txtXoffset->setToolTip(QStringLiteral("X"));
    txtYoffset->setToolTip(QStringLiteral("Y"));
    txtZoffset->setToolTip(QStringLiteral("Z"));

    // Created before the button so that it lies behind it; the strip right and below shows.
    Shape1 = new QFrame(this);
    place(Shape1, "Shape1", twips(120, 4200, 3855, 615));
    Shape1->setAutoFillBackground(true);
    QPalette green = Shape1->palette();
    green.setColor(QPalette::Window, QColor(128, 255, 128));
    Shape1->setPalette(green);
    cmdConvert = new QPushButton(QStringLiteral("&Convert"), this);
    place(cmdConvert, "cmdConvert", twips(120, 4200, 3735, 495));

    txtStatus = new QPlainTextEdit(this);
    place(txtStatus, "txtStatus", twips(120, 4800, 7695, 1575));
    txtStatus->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtStatus->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtStatus->setTabChangesFocus(true);
}

void frmBRENNIC::createCheckBoxes() {
    const auto frameWidget = [this](Frame frame) -> QWidget* {
        switch (frame) {
        case Frame::Objectives:
            return Frame2;
        case Frame::Objects:
            return Frame1;
        case Frame::Actions:
            return fraActions;
        case Frame::Debug:
            return Frame3;
        }
        return this;
    };
    for (const BoxPlace& place : BoxTable::kBoxes) {
        const Column column = columnsOf(place.frame).at(static_cast<std::size_t>(place.column));
        auto* box = new TwoStateCheckBox(QLatin1String(place.caption), frameWidget(place.frame));
        box->setObjectName(QLatin1String(place.name));
        box->setGeometry(twips(column.left, place.top, column.width, heightOf(place)));
        if (place.toolTip != nullptr) {
            box->setToolTip(QLatin1String(place.toolTip));
        }
        this->*place.member = box;
    }
    for (std::size_t i = 0; i < engine::kSwitchKeys.size(); ++i) {
        for (const BoxPlace& place : BoxTable::kBoxes) {
            if (place.option == engine::kSwitchKeys[i].member) {
                m_boxes[i] = this->*place.member;
            }
        }
    }
}

void frmBRENNIC::chainTabOrder() {
    std::vector<QWidget*> order{txtGTA1iniFile, txtOutputFolder};
    const auto addBoxes = [this, &order](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            order.push_back(this->*BoxTable::kBoxes[i].member);
        }
    };
    constexpr std::size_t kBoxCount = std::size(BoxTable::kBoxes);
    addBoxes(0, BoxTable::kBeforeStatus);
    order.push_back(txtStatus);
    addBoxes(BoxTable::kBeforeStatus, kBoxCount - 1);
    order.insert(order.end(), {txtXoffset, txtYoffset, txtZoffset, cmdConvert});
    addBoxes(kBoxCount - 1, kBoxCount);
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

void frmBRENNIC::Form_Load() {
    setWindowTitle(QStringLiteral(".::GTA1 Mission to GTA2 Mission::."));
    LoadSettings();
}

void frmBRENNIC::LoadSettings() {
    const settings::SettingsLoad load = settings::LoadSettingsFile(m_services.settingsFile);
    showSettings(load.settings);
    if (load.badValues) {
        showReport(QStringLiteral("D'oh! Error during load"), load.badValues->source,
                   load.badValues->description, load.badValues->number);
    }
}

void frmBRENNIC::SaveSettings() {
    // A save that cannot happen (a read-only file or folder) goes unreported, and the window
    // closes all the same.
    static_cast<void>(settings::SaveSettingsFile(m_services.settingsFile, controlSettings()));
}

void frmBRENNIC::Form_QueryUnload() {
    if (!m_settingsSaved) {
        m_settingsSaved = true;
        SaveSettings();
    }
}

void frmBRENNIC::closeEvent(QCloseEvent* event) {
    Form_QueryUnload();
    event->accept();
    QCoreApplication::quit();
}

settings::StoredSettings frmBRENNIC::controlSettings() const {
    settings::StoredSettings settings;
    settings.GTA1iniFile = toEngineText(txtGTA1iniFile->text());
    settings.OutputFolder = toEngineText(txtOutputFolder->text());
    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        settings.boxes[i] = boxStateOf(m_boxes[i]->checkState());
    }
    for (std::size_t i = 0; i < m_offsetBoxes.size(); ++i) {
        settings.offsets[i] = toEngineText(m_offsetBoxes[i]->text());
    }
    return settings;
}

void frmBRENNIC::showSettings(const settings::StoredSettings& settings) {
    txtGTA1iniFile->setText(fromEngineText(settings.GTA1iniFile));
    txtOutputFolder->setText(fromEngineText(settings.OutputFolder));
    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        m_boxes[i]->setCheckState(checkStateOf(settings.boxes[i]));
    }
    for (std::size_t i = 0; i < m_offsetBoxes.size(); ++i) {
        setOffsetText(m_offsetBoxes[i], fromEngineText(settings.offsets[i]));
    }
}

// Typing is limited to five characters, but a longer text that the program puts there (a stored
// value, a written-back number such as -0.125) stays whole.
void frmBRENNIC::setOffsetText(QLineEdit* box, const QString& value) {
    const auto length = static_cast<int>(std::min<qsizetype>(value.size(), INT_MAX));
    box->setMaxLength(std::max(kTypedOffsetLength, length));
    box->setText(value);
}

void frmBRENNIC::showReport(const QString& title, const std::string& source,
                            const std::string& description, int number) {
    const std::string message = "Error source: " + source + "\rError description: " + description +
                                "\rError number: " + std::to_string(number);
    m_services.showMessage(QMessageBox::Critical, title, fromEngineText(message));
}

void frmBRENNIC::cmdConvert_Click() {
    cmdConvert->setEnabled(false);
    engine::ConversionOptions options = settings::optionsFromSettings(controlSettings());
    try {
        settings::Read_offsets(controlSettings().offsets, options);
    } catch (const engine::RunFailure& failure) {
        // An offset beyond the number range (1e999 fits in five characters): no run starts.
        showReport(QLatin1String(kConversionErrorTitle), failure.source(), failure.description(),
                   failure.number());
        cmdConvert->setEnabled(true);
        return;
    }
    const std::array offsets{options.Xoffset, options.Yoffset, options.Zoffset};
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        setOffsetText(m_offsetBoxes[i], fromEngineText(settings::Offset_text(offsets[i])));
    }
    const engine::RunReport report = engine::ConversionRun(options, m_state, *this);
    if (report.failure) {
        showReport(QLatin1String(kConversionErrorTitle), report.failure->source(),
                   report.failure->description(), report.failure->number());
    }
}

void frmBRENNIC::imgMissionFolder_Click() {
    const std::string folder = BrowseFolder(engine::kMissionFolderPrompt);
    if (folder != "Cancel") {
        txtGTA1iniFile->setText(fromEngineText(folder));
    }
}

void frmBRENNIC::imgOutputFolder_Click() {
    const std::string folder = BrowseFolder(engine::kOutputFolderPrompt);
    if (folder != "Cancel") {
        txtOutputFolder->setText(fromEngineText(folder));
    }
}

std::string frmBRENNIC::BrowseFolder(std::string_view prompt) {
    const std::optional<QString> folder = m_services.chooseFolder(this, fromEngineText(prompt));
    if (!folder || folder->isEmpty()) {
        return "Cancel";
    }
    // cleanPath drops any separators at the end (a root keeps its own), so exactly one follows.
    return platform::withFinalSeparator(
        toEngineText(QDir::toNativeSeparators(QDir::cleanPath(*folder))));
}

void frmBRENNIC::replaceStatus(std::string_view status) {
    txtStatus->setPlainText(fromEngineText(status));
}

void frmBRENNIC::appendStatus(std::string_view addition) {
    txtStatus->moveCursor(QTextCursor::End);
    txtStatus->insertPlainText(fromEngineText(addition));
}

void frmBRENNIC::folderChosen(engine::FolderField field, const std::string& folder) {
    QLineEdit* box = field == engine::FolderField::GTA1iniFile ? txtGTA1iniFile : txtOutputFolder;
    box->setText(fromEngineText(folder));
}

void frmBRENNIC::setConvertEnabled(bool enabled) { cmdConvert->setEnabled(enabled); }

std::optional<std::filesystem::path> frmBRENNIC::vehicleFile() const {
    return settings::vehicleFilePath();
}

void frmBRENNIC::Open_web_page() {
    if (!m_services.openLink(QUrl(latin(kWebPage)))) {
        m_services.showMessage(QMessageBox::NoIcon, latin(settings::kApplicationName),
                               QStringLiteral("No browser installed!"));
    }
}

} // namespace brennic::ui
