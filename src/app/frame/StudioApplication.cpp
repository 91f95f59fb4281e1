#include "app/frame/StudioApplication.h"

#include <QApplication>

#include "app/JorvoDoc.h"
#include "app/dialogs/QtShell.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/SplashWindow.h"
#include "document/Configuration.h"
#include "engine/SeqEventTargetFactory.h"
#include "platform/Paths.h"
#include "platform/SettingsStore.h"
#include "platform/ShellServices.h"
#include "ui/UIWindowMessages.h"

namespace jorvo {

int RunStudioWindow(int& argc, char** argv, const std::string& documentPath)
{
    SeqEventTargetFactory::RescanPlugins();
    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName("Quistor");
    QCoreApplication::setApplicationName("Jorvo");
    UIWindowMessages::RegisterAll();

    auto splash = std::make_unique<SplashWindow>();
    splash->show();
    QApplication::processEvents();

    SettingsStore store;
    CJorvoDoc::RegisterDocumentType(store, QCoreApplication::applicationFilePath().toStdString());

    int result = 0;
    {
        CJorvoDoc document(StudioOutput::RealTime);
        CMainFrame frame(document);
        SetMainFrame(&frame);
        QtShell shell;
        shell.SetDialogParent(&frame);
        shell.SetViewHost(&frame);
        ScopedShell installed(shell);

        frame.Commands().New();
        if (!documentPath.empty())
            frame.Commands().OpenPath(documentPath);
        frame.show();
        splash.reset();
        if (Configuration().IsFirstRun())
            frame.ShowFirstRunHelp();

        result = QApplication::exec();
        // The studio goes while the frame still holds the views that show its parts.
        document.CloseDocument();
        SetMainFrame(nullptr);
    }
    ResetConfiguration();
    return result;
}

} // namespace jorvo
