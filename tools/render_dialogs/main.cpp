// Renders the group and subsystem editors, in add and edit mode, in every session language, to
// PNG files: <folder>/<dialog>-<mode>-<language>.png, and the editors' question after another
// user's change in simplified Chinese, with Qt's standard buttons in Chinese,
// <folder>/messagebox-CHS.png. The dialogs run for real over the suite's components (the demo
// SQLite store, the translation catalogs, the form fonts, Qt's translations); each is grabbed
// once it is open and then cancelled, so nothing is written.
//
// Usage: render_dialogs <output folder>      (QT_QPA_PLATFORM=offscreen renders without a display;
//                                             QT_SCALE_FACTOR=2 renders at twice the size)

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>

#include "foundation/ComError.h"
#include "host/IMessageBox.h"
#include "host/ProgIds.h"
#include "runtime/LocalText.h"
#include "runtime/MessageBox.h"
#include "runtime/ModuleState.h"
#include "suite/DataPaths.h"
#include "suite/HostSession.h"
#include "ui/QtPlatform.h"
#include "ui/SubSysGroupMgrUI.h"
#include "ui/SubSystemMgrUI.h"

namespace {

using namespace quarn;
using namespace quarn::subsysmgr;

// Grabs the modal dialog that `show` opens into `file`, then cancels it. False when no dialog
// opened or the file could not be written.
bool Render(const std::filesystem::path& file, const std::function<void()>& show) {
    bool written = false;
    QTimer grab;
    grab.setSingleShot(true);
    QObject::connect(&grab, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            grab.start(20);
            return;
        }
        written = dialog->grab().save(QString::fromStdString(file.string()));
        dialog->reject();
    });
    grab.start(100);  // lets the dialog activate and put the focus in its first field
    show();
    std::cout << (written ? "wrote " : "FAILED ") << file.string() << '\n';
    return written;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: render_dialogs <output folder>\n";
        return 2;
    }
    QApplication application(argc, argv);
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);

    bool ok = true;
    try {
        for (const std::string language : {"CHS", "CHT", "EN"}) {
            // A session per language: the module state reads its language once.
            suite::HostSession session("", language);
            session.Activate();
            InstallQtPlatform(*session.Module(), session.Registry(),
                              suite::DataDirectory() / "help");
            const auto file = [&](const std::string& name) {
                return folder / (name + "-" + language + ".png");
            };
            ok &= Render(file("group-add"), [] { SubSysGroupMgrUI().Show(1); });
            ok &= Render(file("group-edit"), [] { SubSysGroupMgrUI().Show(2, 850); });
            ok &= Render(file("subsystem-add"), [] { SubSystemMgrUI().Show(1, 850); });
            ok &= Render(file("subsystem-edit"), [] { SubSystemMgrUI().Show(2, 850, 8001); });
            if (language == "CHS") {
                ModuleState& module = *session.Module();
                ok &= Render(file("messagebox"), [&module] {
                    ShowMessage(module,
                                GetLocalText(module,
                                             "是否载入其他用户保存的内容？"
                                             "本窗口中所做的修改将被放弃。"),
                                kMessageBoxYesNo | kMessageBoxQuestion | kMessageBoxDefaultButton2);
                });
            }
        }
    } catch (const ComError& error) {
        std::cerr << error.Source() << ": " << error.Description() << '\n';
        return 1;
    }
    return ok ? 0 : 1;
}
