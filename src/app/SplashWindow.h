// The splash window shown for two seconds at start: the product name, a picture and the slogan.
#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class frmSplash;
}
class QTimer;

class SplashWindow : public QWidget
{
    Q_OBJECT
public:
    explicit SplashWindow(int intervalMs = 2000, QWidget *parent = nullptr);
    ~SplashWindow() override;

    // Sets the texts and shows the window in the centre of the screen.
    void Form_Load();
    QTimer *timer() const { return m_tmrSplash; }
    // Takes the window away once the main window has opened. Nothing else closes it: a splash
    // closed through the window manager would leave a program without a window.
    void Unload();

signals:
    // tmrSplash fired (once: the timer stops first).
    void Timer();
    // The window is going away (its Unload).
    void unloaded();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    std::unique_ptr<Ui::frmSplash> ui;
    QTimer *m_tmrSplash;
    bool m_unloading = false;
};
