#include "app/ui/CSplashWnd.h"

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QSvgRenderer>
#include <QVBoxLayout>

#include "app/ui/VersionRecord.h"

namespace {
constexpr int kStatusPointSize = 8;
constexpr int kLogoWidth = 96;
constexpr int kLogoHeight = 64;

QPixmap LogoPixmap() {
    QPixmap pixmap(kLogoWidth, kLogoHeight);
    pixmap.fill(Qt::white);
    QSvgRenderer renderer(QStringLiteral(":/icons/logo.svg"));
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

QLabel* AddLine(QVBoxLayout* layout, const std::string& text, const char* name, QWidget* parent) {
    auto* label = new QLabel(QString::fromStdString(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignHCenter);
    layout->addWidget(label);
    return label;
}
}  // namespace

CSplashWnd::CSplashWnd(Use use, const QString& statusText, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_use(use) {
    setObjectName(QStringLiteral("splashWnd"));
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 16, 24, 16);

    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("logo"));
    logo->setPixmap(LogoPixmap());
    layout->addWidget(logo, 0, Qt::AlignHCenter);

    const VersionRecord& record = ProgramVersionRecord();
    AddLine(layout, record.fileDescription, "descriptionLabel", this);
    AddLine(layout, VersionLine(record), "versionLabel", this);
    AddLine(layout, record.legalCopyright, "legalLabel", this);

    auto* separator = new QFrame(this);
    separator->setObjectName(QStringLiteral("separatorLine"));
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    layout->addWidget(separator);

    m_status = new QLabel(statusText, this);
    m_status->setObjectName(QStringLiteral("statusLabel"));
    QFont small = m_status->font();
    small.setPointSize(kStatusPointSize);
    m_status->setFont(small);
    m_status->setEnabled(false);  // drawn greyed
    layout->addWidget(m_status);

    if (m_use == Use::About) {
        separator->hide();
        m_status->hide();
        setModal(true);
    } else {
        setModal(false);
    }
}

QString CSplashWnd::StatusText() const { return m_status->text(); }

void CSplashWnd::mousePressEvent(QMouseEvent* event) {
    if (m_use == Use::About && event->button() == Qt::LeftButton) {
        accept();
        return;
    }
    QDialog::mousePressEvent(event);
}

void CSplashWnd::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    adjustSize();
    if (QWidget* owner = parentWidget()) {
        const QRect area = owner->frameGeometry();
        move(area.center() - rect().center());
    }
}
