#include "app/Program_Main.h"

#include "app/Locale_Formats.h"
#include "app/NetworkForm.h"
#include "app/Qt_Dialog_Service.h"
#include "app/Single_Instance.h"
#include "app/Tessaran_Application.h"
#include "docexport/Document_Engine.h"
#include "docexport/dialogs/Pdf_Engine_Dlg.h"
#include "platform/qt/Qt_Print_Device.h"
#include "units/Unit_Format.h"

#include <QLocale>

namespace tessaran {

int ProgramMainBlock(int argc, char **argv)
{
    TTessaranApplication application(argc, argv);
    TQtDialogService dialogs;
    InstallDialogs(&dialogs);
    TSingleInstanceGuard guard;
    if (guard.CheckSingleInstance(SingleInstanceName, 1, [](const std::string &text) {
            Dialogs().ShowMessage(TDialogKind::Warning, QString::fromStdString(text));
        }))
        return 0;

    QApplication::setApplicationName("Tessaran");
    const QString decimalPoint = QLocale::system().decimalPoint();
    if (decimalPoint.size() == 1 && decimalPoint.at(0).unicode() < 128)
        setUserDecimalSeparator(static_cast<char>(decimalPoint.at(0).unicode()));
    SetUserDateTimeFormats(LocaleDateTimeFormats(QLocale::system()));
    InstallQtScreenMetrics();
    // Finished documents open in the desktop's program for them.
    TdeCustomDocumentEngine::ShellOpen = [](const std::string &fileName) {
        Dialogs().OpenWithDesktop(QString::fromStdString(fileName));
    };
    InstallPDFEngineSetupDialog();

    TNetworkForm NetworkForm;
    const QStringList arguments = QCoreApplication::arguments();
    for (int i = 1; i < arguments.size(); ++i)
        NetworkForm.CommandLineArguments.push_back(arguments.at(i).toStdString());
    guard.OnRaiseRequested = [&NetworkForm] {
        NetworkForm.showNormal();
        NetworkForm.raise();
        NetworkForm.activateWindow();
    };
    NetworkForm.show();
    return application.exec();
}

} // namespace tessaran
