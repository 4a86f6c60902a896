#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QGenericPlugin>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

// Watches the installed game from inside while the keys come from outside
// (xdotool): each change of the window that has the keyboard becomes a line
// of the file named by QUORVENO_WATCH_LOG, so that the test types each key
// once the game is ready for it. Loaded by Qt with
// QT_QPA_GENERIC_PLUGINS=quorveno_game_watcher; it never acts on the game.
namespace quorveno::testing {
namespace {

QString Text(QWidget* window, const char* name) {
  if (auto* box = window->findChild<QLineEdit*>(QLatin1String(name))) return box->text();
  if (auto* label = window->findChild<QLabel*>(QLatin1String(name))) return label->text().trimmed();
  return QStringLiteral("<no %1>").arg(QLatin1String(name));
}

// A box only once the window system gave it the keyboard: a key typed
// before would go elsewhere.
QString State(QWidget* window) {
  if (!window || !window->isActiveWindow()) return {};
  if (auto* input = qobject_cast<QInputDialog*>(window)) return QStringLiteral("asked: ") + input->labelText();
  if (auto* message = qobject_cast<QMessageBox*>(window)) {
    QString state = QStringLiteral("box: ") + message->text() + QLatin1Char(' ');
    for (auto* button : message->buttons()) state += QLatin1Char('[') + button->text() + QLatin1Char(']');
    return state;
  }
  if (!window->inherits("quorveno::Tavola")) return QStringLiteral("other window: ") + window->windowTitle();
  QWidget* focus = QApplication::focusWidget();
  return QStringLiteral("problem %1/%2 + %3/%4 = %5/%6; score %7 %8 %9; message \"%10\"; record %11 by \"%12\"; focus %13")
      .arg(Text(window, "Text1"), Text(window, "Text2"), Text(window, "Text5"), Text(window, "Text6"),
           Text(window, "Text9"), Text(window, "Text10"), Text(window, "lblScore"), Text(window, "lblScore1"),
           Text(window, "lblScore2"), Text(window, "lblMessage"), Text(window, "lblpunti"), Text(window, "lblnome"),
           focus ? focus->objectName() : QStringLiteral("none"));
}

class GameWatcher final : public QObject {
 public:
  GameWatcher() : log_(qEnvironmentVariable("QUORVENO_WATCH_LOG")) {
    log_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered);
    connect(&look_, &QTimer::timeout, this, [this] {
      QString state = State(QApplication::activeWindow());
      if (state.isEmpty() || state == last_) return;
      last_ = state;
      log_.write(state.replace(QLatin1Char('\n'), QLatin1String(" | ")).toUtf8() + '\n');
    });
    look_.start(50);
  }

 private:
  QFile log_;
  QTimer look_;
  QString last_;
};

}  // namespace

class GameWatcherPlugin final : public QGenericPlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "game_watcher.json")

 public:
  QObject* create(const QString& key, const QString& /*parameters*/) override {
    return key == QLatin1String("quorveno_game_watcher") ? new GameWatcher : nullptr;
  }
};

}  // namespace quorveno::testing

#include "game_watcher.moc"
