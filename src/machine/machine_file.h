// The machine file: one aggregate kept between sessions, as UTF-8 JSON.
//
//   {
//     "format": "gearfreq-machine",
//     "version": 1,
//     "name": "Редуктор Ц2У-250",
//     "notes": "Вход — электродвигатель 1350 об/мин",
//     "currentPair": 1,
//     "inputs": {"Z1": "13", "Fr1": "22,5", "Z2": "35", "Fm": "0"},
//     "pairs": [
//       {"Z1": "13", "Fr1": "22,5", "Z2": "35", "Fm": "0"},
//       {"Z1": "8", "Fr1": "8,35714285714286", "Z2": "42", "Fm": "0"}
//     ],
//     "reference": {"shaft": 1, "speed": "1350", "unit": "об/мин"},
//     "shaftNames": ["двигатель", "", "барабан"],
//     "tableUnit": {"unit": "об/мин", "ordersShaft": 1},
//     "measurement": "замеры/редуктор.wav",
//     "stages": [ … ], "bearings": [ … ]
//   }
//
// "pairs" holds slots 1, 2, ... up to the last slot with any text (at most
// nine); the texts are kept exactly as the pair store holds them. "inputs"
// are the four input fields, "reference" the speed typed at a shaft or null.
// "shaftNames" and "tableUnit" are written only when they say something (a
// name given, a unit other than Гц) and may be missing: files without them
// are the same version. So is "measurement", the last measurement the
// spectrum window opened, relative to the file's folder. "stages" and
// "bearings" (components_file.h) came with version 2: a machine with a
// planetary or belt stage or a bearing is written as version 2, any other
// as version 1, which earlier programs read; both versions are read.
// The writer's output is a function of the state alone, so save, open and
// save again give the same bytes. The reader takes nothing it cannot keep:
// a file it refuses changes nothing.
#pragma once

#include "aggregate/navigation.h"
#include "aggregate/pair_store.h"
#include "machine/train.h"
#include "settings/safe_read.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <array>
#include <optional>

namespace machine {

inline constexpr char kMachineFormat[] = "gearfreq-machine";
inline constexpr int kMachineFormatVersion = 2; // the newest; 1 is read too
// Far above any real machine file (a full one is a few kilobytes); the
// reader never reads more than this and one byte.
inline constexpr qint64 kMachineFileLimit = 1024 * 1024;
// What a file keeps: the document and the aggregate as the main window
// holds it.
struct MachineState {
    MachineDocument document;
    std::array<aggregate::GearPair, aggregate::kPairCount> pairSlots;
    int currentPair = 1;
    aggregate::GearPair inputs; // the four input fields
    bool operator==(const MachineState &) const = default;
};

// The state as a file keeps it: the texts cut to the lengths the file
// allows (the calculation and the store read no further anyway).
MachineState captureState(const MachineDocument &document, const aggregate::PairStore &store,
                          int currentPair, const aggregate::GearPair &inputs);

QByteArray machineFileBytes(const MachineState &state);

// The aggregate an opened file stands for: its slots stored (the pair item
// of every slot with any text shown), its current pair, and the moves as a
// jump to that pair sets them; a pair beyond the stored ones is the newest,
// not yet calculated, so Next waits for its calculation as after "Далее >".
aggregate::AggregateState restoredAggregate(const MachineState &state);

struct MachineFileRead {
    std::optional<MachineState> state;
    // For the user, in Russian, naming the file and what is wrong with it.
    QString error;
    // The bytes read, to notice another program's change before a save.
    settings::FileStamp stamp;
};

// A text as a JSON string, quotes and escapes included, in UTF-8.
QByteArray jsonString(const QString &text);

// fileName is only used in the message.
MachineFileRead parseMachineFile(const QByteArray &bytes, const QString &fileName);
// The same for a machine object within another file (the recovery file).
MachineFileRead parseMachineObject(const QJsonObject &root, const QString &fileName);
// The bytes as a JSON object, or why they are none (too large, empty,
// binary, not JSON, not an object).
std::optional<QJsonObject> jsonObject(const QByteArray &bytes, QString *why);

// Reads at most kMachineFileLimit + 1 bytes of a regular file, whatever size
// the file claims, through the bounded reader: a pipe or device never blocks
// it. A symlink is followed, since the user chose the path.
MachineFileRead readMachineFile(const QString &path);

// The file a path chosen by the user stands for: a symlink resolved to the
// file it leads to (even one not made yet), so that saving replaces that
// file, not the link. Other paths come back absolute.
QString resolvedFilePath(const QString &path);

// A file name made from the machine's name for the save dialog: characters
// that a file dialog or another system treats specially (quotes, slashes,
// < > | * ? :, control characters) become "_", blanks are collapsed, and the
// name stays short enough for any file system with `suffix` added. Empty
// or nothing but such characters: "агрегат".
QString suggestedFileName(const QString &machineName, const QString &suffix);

} // namespace machine
