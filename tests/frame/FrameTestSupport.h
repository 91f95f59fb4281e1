#pragma once
// A studio window for the frame tests: a document, its main frame, a recording shell whose view
// operations reach the frame (as the Qt shell's do), and small skins of known layout in a
// temporary skins folder.
#include <filesystem>
#include <memory>
#include <string>

#include <QCoreApplication>

#include "app/JorvoDoc.h"
#include "app/frame/CJorvoView.h"
#include "app/frame/CMainFrame.h"
#include "document/Configuration.h"
#include "platform/RecordingShell.h"
#include "support/TestSupport.h"

namespace jorvo::test {

// The repository's folder (examples/, docs/).
inline std::filesystem::path Repository()
{
    return std::filesystem::path(JORVO_SOURCE_DIR);
}

// Records everything, and hands the view operations to `host`.
class ForwardingShell : public RecordingShell {
public:
    ViewHost* host = nullptr;

    void BroadcastMessage(WindowMessage message, WParam wParam, LParam lParam) override
    {
        RecordingShell::BroadcastMessage(message, wParam, lParam);
        if (host)
            host->BroadcastMessage(message, wParam, lParam);
    }
    bool SendToTargetView(const void* target, WindowMessage message, WParam wParam, LParam lParam) override
    {
        return host && host->SendToTargetView(target, message, wParam, lParam);
    }
    ViewId CreateView(const ViewRequest& request) override { return host ? host->CreateView(request) : kNoView; }
    bool SetViewTitle(ViewId view, const std::string& title) override
    {
        return host && host->SetViewTitle(view, title);
    }
    void RefreshView(ViewId view) override
    {
        if (host)
            host->RefreshView(view);
    }
    void RemoveView(ViewId view) override
    {
        if (host)
            host->RemoveView(view);
    }
};

// A label element of a skin: `name` at the rectangle, showing `text`.
inline std::string Label(const std::string& name, int left, int top, int width, int height, const std::string& text)
{
    return "<" + name + " Class=\"MsgLabel\" Left=\"" + std::to_string(left) + "\" Top=\"" + std::to_string(top) +
           "\" Width=\"" + std::to_string(width) + "\" Height=\"" + std::to_string(height) + "\" DisplayText=\"" +
           text + "\" TextClr=\"#F0F0F0\"/>";
}

// The mixer skin's layout: strips 90 wide, a send row 40 high, the master strip 60 wide.
struct MixerSkinLayout {
    static constexpr int kStripLeft = 5;
    static constexpr int kStripWidth = 90;
    static constexpr int kSendTop = 60;
    static constexpr int kSendHeight = 40;
    static constexpr int kStripBottom = 400; // below the fader
    static constexpr int kMasterWidth = 60;
};

// Writes the skins the frame tests use into a temporary folder and makes it the skins folder.
class TestSkins {
public:
    TestSkins()
    {
        Configuration().SetSkinsDir(dir_.path().string());
        Write("Jorvo", "<JorvoView Name=\"Jorvo\" BackgroundColour=\"#203040\"><UIElementList>" +
                           Label("Welcome", 40, 40, 400, 40, "Welcome to the studio") + "</UIElementList></JorvoView>");
        std::string sequencer = "<SequencerSkins>";
        for (const char* editor : {"SongEditor", "SectionEditor", "PatternEditor", "ParameterEditor"}) {
            const std::string title = std::string(editor).insert(std::string(editor).find("Editor"), " ");
            sequencer += std::string("<") + editor + "><SeqEditorView Name=\"" + title +
                         "\" BackgroundColour=\"#302838\"><UIElementList>" + Label("Title", 10, 10, 460, 30, title) +
                         "</UIElementList></SeqEditorView></" + editor + ">";
        }
        Write("Sequencer", sequencer + "</SequencerSkins>");
        using L = MixerSkinLayout;
        Write("Mixer", "<MixerView Name=\"Mixer\" BackgroundColour=\"#282C30\"><UIElementList>" +
                           Label("Heading", 5, 600, 200, 30, "Mixer") + "</UIElementList>" +
                           "<ChannelStrip><UIElementList>" + Label("Name", L::kStripLeft, 20, L::kStripWidth, 30, "Channel") +
                           Label("Fader", L::kStripLeft, 110, L::kStripWidth, L::kStripBottom - 110, "Level") +
                           "</UIElementList><Send><UIElementList>" +
                           Label("SendLevel", L::kStripLeft, L::kSendTop, L::kStripWidth, L::kSendHeight, "Send") +
                           "</UIElementList></Send></ChannelStrip>" + "<MasterStrip><UIElementList>" +
                           Label("Master", 400, 20, L::kMasterWidth, 380, "Master") +
                           "</UIElementList></MasterStrip></MixerView>");
    }

    // Writes `text` as the skin of `name`.
    void Write(const std::string& name, const std::string& text)
    {
        std::filesystem::create_directories(dir_ / name);
        WriteFileBytes(dir_ / name / (name + ".skin"), text);
    }

    const std::filesystem::path& Folder() const { return dir_.path(); }

private:
    TempDir dir_;
};

// A studio window over a new document: the frame is the document's main frame and the shell's
// view host, and the studio's views (mixer, editors) exist. The views read the test skins, or
// those of `skinsFolder` when one is given.
class StudioWindow {
public:
    explicit StudioWindow(const std::filesystem::path& skinsFolder = {}) : installed_(shell)
    {
        if (!skinsFolder.empty())
            Configuration().SetSkinsDir(skinsFolder.string());
        frame = std::make_unique<CMainFrame>(document);
        shell.host = frame.get();
        SetMainFrame(frame.get());
        frame->Commands().New();
        Settle();
    }
    ~StudioWindow()
    {
        document.CloseDocument();
        SetMainFrame(nullptr);
        shell.host = nullptr;
        frame.reset();
        Settle();
    }

    // Lets queued work (posted messages, deferred deletes, views made afterwards) run.
    static void Settle()
    {
        for (int pass = 0; pass < 3; ++pass) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

    TestSkins skins;
    ForwardingShell shell;
    CJorvoDoc document;
    std::unique_ptr<CMainFrame> frame;

private:
    ScopedShell installed_;
};

} // namespace jorvo::test
