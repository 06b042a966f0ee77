#include "ui/WorkLeftWindow.h"

#include "ui/WindowLayout.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

namespace brennic::ui {

namespace {

QString latin(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

WorkLeftWindow::WorkLeftWindow(QWidget* owner, std::function<void()> save)
    : QDialog(owner), m_summary(new QLabel(this)), m_list(new QPlainTextEdit(this)) {
    setObjectName(QStringLiteral("frmWhatIsLeft"));
    setWindowTitle(latin(kWorkLeftCaption));
    setSizeGripEnabled(true);
    m_summary->setObjectName(QStringLiteral("lblSummary"));
    m_list->setObjectName(QStringLiteral("txtWhatIsLeft"));
    m_list->setReadOnly(true);
    m_list->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Script lines keep their columns.
    m_list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    auto* saveButton = new QPushButton(latin(kWorkLeftSave), this);
    saveButton->setObjectName(QStringLiteral("cmdSave"));
    saveButton->setAutoDefault(false);
    auto* closeButton = new QPushButton(latin(kWorkLeftClose), this);
    closeButton->setObjectName(QStringLiteral("cmdClose"));
    closeButton->setDefault(true);
    connect(saveButton, &QPushButton::clicked, this, [save = std::move(save)] { save(); });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(saveButton);
    buttons->addWidget(closeButton);
    auto* column = new QVBoxLayout(this);
    column->addWidget(m_summary);
    column->addWidget(m_list, 1);
    column->addLayout(buttons);

    // Room for a report line of a usual length, and a screenful of them.
    const QFontMetrics metrics(m_list->font());
    resize(metrics.horizontalAdvance(QLatin1Char('x')) * 100, metrics.lineSpacing() * 30);
}

void WorkLeftWindow::setList(const QString& summary, const QString& list) {
    m_summary->setText(summary);
    m_list->setPlainText(list);
}

} // namespace brennic::ui
