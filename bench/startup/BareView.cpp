// The baseline: a bare Qt WebEngine view with the launcher's engine flags,
// loading one address and nothing else.

#include <QApplication>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

int main(int argc, char** argv) {
    if (argc < 3) return 2;  // bare_view URL STORAGE_FOLDER [DELAY_MS]
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--single-process --no-sandbox");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    const QString storage = QString::fromLocal8Bit(argv[2]);
    QWebEngineProfile profile(QStringLiteral("Default"));
    profile.setCachePath(storage + "/cache");
    profile.setPersistentStoragePath(storage + "/User Data");
    QWebEngineView view;
    auto* page = new QWebEnginePage(&profile, &view);
    view.setPage(page);
    view.resize(415, 450);
    view.show();
    // Optionally the launcher's own wait before its browser is created.
    const int delayMs = argc > 3 ? QString::fromLocal8Bit(argv[3]).toInt() : 0;
    QTimer::singleShot(delayMs, &view, [&] { view.setUrl(QUrl(QString::fromLocal8Bit(argv[1]))); });
    const int code = application.exec();
    delete page;
    return code;
}
