// The least a Qt program can do to greet: the same message box, alone.
#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMessageBox box(QMessageBox::Information, QStringLiteral("確認訊息"),
                    QStringLiteral("歡迎使用本系統!"), QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    return 0;
}
