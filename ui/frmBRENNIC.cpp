#include "ui/frmBRENNIC.h"

#include "platform/FileSystem.h"
#include "platform/qt/FolderChooser.h"
#include "platform/qt/OpenLink.h"
#include "ui/CloseSignals.h"
#include "ui/EngineText.h"
#include "ui/WorkLeftWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFontInfo>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QUrl>
#include <algorithm>
#include <stdexcept>
#include <utility>
#include <vector>

#ifndef QT_NO_SESSIONMANAGER
#include <QSessionManager>
#endif

namespace brennic::ui {

namespace {

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

// A picture that acts on a click (the press and the release both on it), and, as a tab stop, on
// Enter or Space.
class ClickablePicture : public QLabel {
  public:
    ClickablePicture(QWidget* parent, std::function<void()> onClick)
        : QLabel(parent), m_onClick(std::move(onClick)) {
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::StrongFocus);
    }

  protected:
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
            m_onClick();
        }
    }
    void keyPressEvent(QKeyEvent* event) override {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            m_onClick();
            break;
        default:
            QLabel::keyPressEvent(event);
        }
    }
    void paintEvent(QPaintEvent* event) override {
        QLabel::paintEvent(event);
        if (hasFocus()) {
            QPainter painter(this);
            QStyleOptionFocusRect option;
            option.initFrom(this);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
        }
    }

  private:
    std::function<void()> m_onClick;
};

// Typing stops at five characters, but a longer text that the program puts there (a stored
// value, a written-back number such as -0.125) stays whole, until the user shortens it.
class OffsetBox : public QLineEdit {
  public:
    explicit OffsetBox(QWidget* parent) : QLineEdit(parent) {
        setMaxLength(kTypedOffsetLength);
        connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
            setMaxLength(std::max<int>(kTypedOffsetLength, static_cast<int>(text.size())));
        });
    }
    void setProgramText(const QString& text) {
        setMaxLength(std::max<int>(kTypedOffsetLength, static_cast<int>(text.size())));
        setText(text);
    }
};

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

frmBRENNIC::frmBRENNIC(WindowServices services)
    : Form(services.programFolder), m_services(std::move(services)) {
    if (!m_services.chooseFolder) {
        m_services.chooseFolder = platform::qt::chooseFolder;
    }
    if (!m_services.chooseSaveFile) {
        m_services.chooseSaveFile = [](QWidget* owner,
                                       const QString& suggested) -> std::optional<QString> {
            const QString file =
                QFileDialog::getSaveFileName(owner, latin(kWorkLeftSaveTitle), suggested,
                                             QStringLiteral("Text files (*.txt);;All files (*)"));
            return file.isEmpty() ? std::nullopt : std::optional(file);
        };
    }
    if (!m_services.showMessage) {
        m_services.showMessage = [this](QMessageBox::Icon icon, const QString& title,
                                        const QString& message) {
            QMessageBox box(icon, title, message, QMessageBox::Ok, this);
            // Names from the mission file may hold "<" and "&": never read them as markup.
            box.setTextFormat(Qt::PlainText);
            box.exec();
        };
    }
    if (!m_services.openLink) {
        m_services.openLink = platform::qt::openLink;
    }

    setObjectName(QStringLiteral("frmBRENNIC"));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    // The system's font at the user's size; the layout grows with it. Qt's pixels are already
    // those of 96 DPI, whatever the screen.
    m_fontPixels = layoutFontPixels(QFontInfo(font()).pixelSize(), 96);
    setFixedSize(pixelRect(kClientArea).size());

    createControls();

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
    // Frames first, so that the controls inside them have their parent.
    for (const ControlPlace& place : kControls) {
        if (place.kind == ControlKind::Frame) {
            m_controls[static_cast<std::size_t>(place.id)] =
                new QGroupBox(latin(place.caption), this);
        }
    }
    const QPixmap folderPicture =
        style()->standardIcon(QStyle::SP_DirOpenIcon).pixmap(QSize(16, 13));
    std::vector<QWidget*> tabOrder;
    for (const ControlPlace& place : kControls) {
        QWidget* parent = this;
        if (place.frame) {
            parent = control<QGroupBox>(*place.frame);
        }
        QWidget* widget = nullptr;
        switch (place.kind) {
        case ControlKind::Frame:
            widget = control<QGroupBox>(place.id);
            break;
        case ControlKind::Label: {
            auto* label = new QLabel(latin(place.caption), parent);
            label->setWordWrap(true);
            widget = label;
            break;
        }
        case ControlKind::Picture: {
            auto* picture =
                new ClickablePicture(parent, [this, click = place.click] { Control_Click(click); });
            picture->setPixmap(folderPicture);
            widget = picture;
            break;
        }
        case ControlKind::TextBox:
            widget = new QLineEdit(parent);
            break;
        case ControlKind::OffsetBox:
            widget = new OffsetBox(parent);
            break;
        case ControlKind::StatusBox: {
            auto* status = new QPlainTextEdit(parent);
            status->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            status->setTabChangesFocus(true);
            // The statistics line up on tab stops eight characters apart, as in a Windows text
            // box.
            status->setTabStopDistance(8 * status->fontMetrics().averageCharWidth());
            widget = status;
            break;
        }
        case ControlKind::CheckBox:
            widget = new TwoStateCheckBox(latin(place.caption), parent);
            break;
        case ControlKind::Shape: {
            widget = new QFrame(parent);
            widget->setAutoFillBackground(true);
            QPalette green = widget->palette();
            green.setColor(QPalette::Window,
                           QColor(kShapeColour[0], kShapeColour[1], kShapeColour[2]));
            widget->setPalette(green);
            widget->lower(); // behind Convert
            break;
        }
        case ControlKind::Button: {
            auto* button = new QPushButton(latin(place.caption), parent);
            connect(button, &QPushButton::clicked, this,
                    [this, click = place.click] { Control_Click(click); });
            widget = button;
            break;
        }
        }
        widget->setObjectName(latin(place.name));
        widget->setGeometry(pixelRect(place.rect));
        if (!place.toolTip.empty()) {
            widget->setToolTip(latin(place.toolTip));
        }
        if ((widget->focusPolicy() & Qt::TabFocus) != 0) {
            tabOrder.push_back(widget);
        }
        m_controls[static_cast<std::size_t>(place.id)] = widget;
    }
    for (std::size_t i = 1; i < tabOrder.size(); ++i) {
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }
}

QRect frmBRENNIC::pixelRect(const Twips& rect) const {
    const int left = pixels(rect.left, m_fontPixels);
    const int top = pixels(rect.top, m_fontPixels);
    return {left, top, pixels(rect.left + rect.width, m_fontPixels) - left,
            pixels(rect.top + rect.height, m_fontPixels) - top};
}

template <class Widget> Widget* frmBRENNIC::control(Control id) const {
    auto* widget = qobject_cast<Widget*>(m_controls[static_cast<std::size_t>(id)]);
    if (widget == nullptr) {
        throw std::logic_error("control " + std::string(placeOf(id).name) + " is no " +
                               Widget::staticMetaObject.className());
    }
    return widget;
}

void frmBRENNIC::closeEvent(QCloseEvent* event) {
    Form_QueryUnload();
    event->accept();
    QCoreApplication::quit();
}

void frmBRENNIC::setCaption(std::string_view caption) { setWindowTitle(latin(caption)); }

std::string frmBRENNIC::text(Control id) const {
    return toEngineText(control<QLineEdit>(id)->text());
}

void frmBRENNIC::setText(Control id, std::string_view text) {
    if (placeOf(id).kind == ControlKind::Label) {
        control<QLabel>(id)->setText(fromEngineText(text));
    } else if (placeOf(id).kind == ControlKind::StatusBox) {
        control<QPlainTextEdit>(id)->setPlainText(fromEngineText(text));
    } else if (auto* offset = dynamic_cast<OffsetBox*>(control<QLineEdit>(id))) {
        offset->setProgramText(fromEngineText(text));
    } else {
        control<QLineEdit>(id)->setText(fromEngineText(text));
    }
}

settings::BoxState frmBRENNIC::state(Control id) const {
    return boxStateOf(control<QCheckBox>(id)->checkState());
}

void frmBRENNIC::setState(Control id, settings::BoxState state) {
    control<QCheckBox>(id)->setCheckState(checkStateOf(state));
}

void frmBRENNIC::setControlEnabled(Control id, bool enabled) {
    auto* widget = control<QWidget>(id);
    // Disabled, a control passes the focus on (Convert, through a run); enabled again, it takes it
    // back, so that the keyboard goes on from where it was.
    if (!enabled && focusWidget() == widget) {
        m_refocus = widget;
    }
    widget->setEnabled(enabled);
    if (enabled && m_refocus == widget) {
        widget->setFocus();
        m_refocus = nullptr;
    }
}

void frmBRENNIC::showMessage(MessageIcon icon, std::string_view title, std::string_view text) {
    QMessageBox::Icon shown = QMessageBox::NoIcon;
    switch (icon) {
    case MessageIcon::None:
        break;
    case MessageIcon::Critical:
        shown = QMessageBox::Critical;
        break;
    case MessageIcon::Warning:
        shown = QMessageBox::Warning;
        break;
    }
    m_services.showMessage(shown, fromEngineText(title), fromEngineText(text));
}

std::optional<std::filesystem::path> frmBRENNIC::chooseFolder(std::string_view prompt,
                                                              const std::filesystem::path& start) {
    const std::optional<QString> folder = m_services.chooseFolder(
        this, fromEngineText(prompt), fromEngineText(platform::textFromPath(start)));
    if (!folder) {
        return std::nullopt;
    }
    // cleanPath drops any separators at the end (a root keeps its own), so exactly one follows;
    // an empty path stays empty, which BrowseFolder takes for a cancel.
    return platform::pathFromText(toEngineText(QDir::toNativeSeparators(QDir::cleanPath(*folder))));
}

void frmBRENNIC::setWorkLeft(std::string_view summary, std::string_view list) {
    if (m_workLeft == nullptr) {
        m_workLeft = new WorkLeftWindow(this, [this] { Save_work_left(); });
    }
    m_workLeft->setList(fromEngineText(summary), fromEngineText(list));
}

void frmBRENNIC::showWorkLeft() {
    if (m_workLeft != nullptr) {
        m_workLeft->show();
        m_workLeft->raise();
        m_workLeft->activateWindow();
    }
}

std::optional<std::filesystem::path>
frmBRENNIC::chooseWorkLeftFile(const std::filesystem::path& suggested) {
    QWidget* owner = m_workLeft != nullptr ? static_cast<QWidget*>(m_workLeft) : this;
    const std::optional<QString> file =
        m_services.chooseSaveFile(owner, fromEngineText(platform::textFromPath(suggested)));
    if (!file || file->isEmpty()) {
        return std::nullopt;
    }
    return platform::pathFromText(toEngineText(QDir::toNativeSeparators(*file)));
}

bool frmBRENNIC::openLink(std::string_view address) {
    return m_services.openLink(QUrl(latin(address)));
}

void frmBRENNIC::replaceStatus(std::string_view status) { setText(Control::txtStatus, status); }

void frmBRENNIC::appendStatus(std::string_view addition) {
    auto* status = control<QPlainTextEdit>(Control::txtStatus);
    status->moveCursor(QTextCursor::End);
    status->insertPlainText(fromEngineText(addition));
    status->ensureCursorVisible(); // the latest lines in sight, the statistics at the end
}

bool frmBRENNIC::stopRequested() { return CloseSignals::arrived(); }

} // namespace brennic::ui
