// The welcome window written straight in Qt, as a hand-made program would
// show it: the same greeting box, then the same window with the same
// captions in the same faces and sizes, the same picture, icon and menus,
// and the clock. Against it the program's memory shows what its forms
// layer costs, apart from what the window shows.
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QTime>
#include <QTimer>

namespace {

QFont ming(int px, bool bold = false, const char* face = "AR PL UMing TW") {
    QFont f(QString::fromUtf8(face));
    f.setPixelSize(px);
    f.setBold(bold);
    return f;
}

class Client : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter p(this);
        p.fillRect(event->rect(), QColor(0xFF, 0xFF, 0xC0));
        p.drawPixmap(0, 0, picture_);
    }

private:
    QPixmap picture_{QStringLiteral(":/images/picture")};
};

QLabel* label(QWidget* parent, const char* text, QRect r, const QFont& f, QColor color = {}) {
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setGeometry(r);
    l->setFont(f);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (color.isValid()) l->setStyleSheet(QStringLiteral("color: %1").arg(color.name()));
    return l;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setFont(ming(12));
    const QIcon icon(QStringLiteral(":/images/icon"));
    QApplication::setWindowIcon(icon);
    {
        QMessageBox box(QMessageBox::Information, QStringLiteral("確認訊息"),
                        QStringLiteral("歡迎使用本系統!"), QMessageBox::Ok);
        box.button(QMessageBox::Ok)->setText(QStringLiteral("確定"));
        box.exec();
    }
    QMainWindow window;
    window.setWindowTitle(QStringLiteral(" 晨光視窗"));
    QMenu* functions = window.menuBar()->addMenu(QStringLiteral("功能"));
    functions->addAction(QStringLiteral("關閉程式"), &app, &QApplication::quit);
    functions->addAction(QStringLiteral("開啟光碟機"));
    functions->addAction(QStringLiteral("關閉光碟機"));
    window.menuBar()->addMenu(QStringLiteral("到其它程式"))->addAction(QStringLiteral("星河板"));
    auto* client = new Client(&window);
    window.setCentralWidget(client);

    label(client, "歡迎使用zo學    苑專用電腦             開放機台", {288, 32, 225, 113}, ming(32),
          Qt::red);
    label(client, "顯示目前時間", {264, 264, 241, 25}, ming(19, false, "AR PL UKai TW"));
    QLabel* clock = label(client, "", {400, 264, 241, 17}, ming(12));
    auto* edition = label(client, "2009 (第 4 代)  kv!", {272, 184, 241, 65}, ming(24, true));
    edition->setFrameShape(QFrame::Box);
    edition->setBackgroundRole(QPalette::Base);
    edition->setAutoFillBackground(true);
    label(client, "﹝正式版﹞", {280, 216, 193, 33}, ming(21, true), Qt::red);
    auto* frame = new QGroupBox(QStringLiteral("電腦機台說明"), client);
    frame->setGeometry(8, 176, 249, 137);
    label(frame, "本程式目前是開源軟體。", {16, 24, 217, 81}, ming(12));
    auto* help = new QPushButton(QStringLiteral("看說明。"), frame);
    help->setGeometry(40, 48, 137, 33);
    help->setFont(ming(24, true));
    auto* text = new QLineEdit(QStringLiteral("本台電腦乃為開放式電腦，歡迎使用！\u3000"), client);
    text->setGeometry(288, 8, 225, 18);
    text->setCursorPosition(0);

    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout,
                     [clock] { clock->setText(QTime::currentTime().toString()); });
    timer.start(1000);
    window.resize(523, 321 + window.menuBar()->sizeHint().height());
    window.show();
    text->setFocus();
    return QApplication::exec();
}
