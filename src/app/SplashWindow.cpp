#include "app/SplashWindow.h"

#include "forms/ui_frmSplash.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

SplashWindow::SplashWindow(int intervalMs, QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::frmSplash>())
    , m_tmrSplash(new QTimer(this))
{
    ui->setupUi(this);
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_DeleteOnClose);
    // The timer counts from the moment the window is created.
    m_tmrSplash->setObjectName(QStringLiteral("tmrSplash"));
    m_tmrSplash->setInterval(intervalMs);
    connect(m_tmrSplash, &QTimer::timeout, this, [this] {
        // Opening the main window lets events run: the tick must not come twice.
        m_tmrSplash->stop();
        emit Timer();
    });
    m_tmrSplash->start();
}

SplashWindow::~SplashWindow() = default;

void SplashWindow::Form_Load()
{
    ui->lblSoftwareName->setText(QStringLiteral("Quillmark"));
    ui->lblLogoMessage->setText(QStringLiteral("Track your tasks and daily items easily!"));
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->geometry().center());
        move(frame.topLeft());
    }
    show();
}

void SplashWindow::Unload()
{
    m_unloading = true;
    close();
}

void SplashWindow::closeEvent(QCloseEvent *event)
{
    if (!m_unloading) {
        event->ignore();
        return;
    }
    m_tmrSplash->stop();
    emit unloaded();
    event->accept();
}
