// Another copy of the game, for the register's tests: appends `count` lines
// of the pupil `name` to the register at `path`. Exits 0 when every line was
// written, else 1 with the reason on standard error.
//   register_append_tool PATH NAME COUNT

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>

#include "register/register_line.h"
#include "storage/register_file.h"

int main(int argc, char* argv[]) {
  if (argc != 4) return 2;
  const QString path = QString::fromLocal8Bit(argv[1]);
  quorveno::RegisterLine line{"2026-12-07", "10:00:00", argv[2],  "2026-12-07 09:30:00", "1/5 + 1/5", "2/5", "giusto",
                              "2/5",        "",         "gara 10"};
  const int count = std::atoi(argv[3]);
  for (int i = 0; i < count; ++i) {
    line.answer = std::to_string(i) + "/5";
    const auto failure =
        quorveno::AppendToRegister(path, QByteArray::fromStdString(quorveno::RegisterLineText(line)));
    if (failure) {
      std::fprintf(stderr, "%s\n", failure->reason.toUtf8().constData());
      return 1;
    }
  }
  return 0;
}
