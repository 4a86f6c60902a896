#include <QGenericPlugin>

#include "tests/packaging/game_probe.h"

namespace quorveno::testing {

// Lets Qt load the probe into any program started with
// QT_QPA_GENERIC_PLUGINS=quorveno_game_probe and this folder's parent on
// QT_PLUGIN_PATH, so the installed game is tested exactly as installed.
class GameProbePlugin final : public QGenericPlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "game_probe.json")

 public:
  QObject* create(const QString& key, const QString& /*parameters*/) override {
    return key == QLatin1String("quorveno_game_probe") ? new GameProbe : nullptr;
  }
};

}  // namespace quorveno::testing

#include "game_probe_plugin.moc"
