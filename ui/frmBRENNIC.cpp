#include "ui/frmBRENNIC.h"

#include "platform/qt/FolderChooser.h"
#include "platform/qt/OpenLink.h"
#include "ui/CloseSignals.h"
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
#include <stdexcept>
#include <utility>
#include <vector>

#ifndef QT_NO_SESSIONMANAGER
#include <QSessionManager>
#endif

namespace brennic::ui {

namespace {

QRect pixelRect(const Twips& rect) {
    return {pixels(rect.left), pixels(rect.top), pixels(rect.width), pixels(rect.height)};
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

// Typing stops at five characters, but a longer text that the program puts there (a stored
// value, a written-back number such as -0.125) stays whole.
class OffsetBox : public QLineEdit {
  public:
    explicit OffsetBox(QWidget* parent) : QLineEdit(parent) { setMaxLength(kTypedOffsetLength); }
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
    setFixedSize(pixels(kClientArea.width), pixels(kClientArea.height));
    QFont small = font();
    small.setPixelSize(10);
    setFont(small);

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
    if (placeOf(id).kind == ControlKind::StatusBox) {
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
    control<QWidget>(id)->setEnabled(enabled);
}

void frmBRENNIC::showMessage(MessageIcon icon, std::string_view title, std::string_view text) {
    m_services.showMessage(icon == MessageIcon::Critical ? QMessageBox::Critical
                                                         : QMessageBox::NoIcon,
                           fromEngineText(title), fromEngineText(text));
}

std::optional<std::string> frmBRENNIC::chooseFolder(std::string_view prompt) {
    const std::optional<QString> folder = m_services.chooseFolder(this, fromEngineText(prompt));
    if (!folder) {
        return std::nullopt;
    }
    // cleanPath drops any separators at the end (a root keeps its own), so exactly one follows;
    // an empty path stays empty, which BrowseFolder takes for a cancel.
    return toEngineText(QDir::toNativeSeparators(QDir::cleanPath(*folder)));
}

bool frmBRENNIC::openLink(std::string_view address) {
    return m_services.openLink(QUrl(latin(address)));
}

void frmBRENNIC::replaceStatus(std::string_view status) { setText(Control::txtStatus, status); }

void frmBRENNIC::appendStatus(std::string_view addition) {
    auto* status = control<QPlainTextEdit>(Control::txtStatus);
    status->moveCursor(QTextCursor::End);
    status->insertPlainText(fromEngineText(addition));
}

bool frmBRENNIC::stopRequested() { return CloseSignals::arrived(); }

} // namespace brennic::ui
