// Multiple-document templates: each document in an MDI child of its own with its view, titles numbered per
// template, the template's menu on its children, a document closed with its last view, and the document
// manager choosing among several templates for new and opened files (the New dialog, the file dialog's types).
#include "FrameworkTestSupport.h"

#include "platform/commdlg/CommDlg.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

using namespace fwtest;

namespace {

int g_docsAlive = 0;

class NoteDoc : public CDocument {
    DECLARE_DYNCREATE(NoteDoc)

public:
    NoteDoc() { ++g_docsAlive; }
    ~NoteDoc() override { --g_docsAlive; }
    BOOL OnNewDocument() override { return !failNew && CDocument::OnNewDocument(); }
    BOOL OnOpenDocument(LPCTSTR) override { return TRUE; }
    static inline bool failNew = false;
};
IMPLEMENT_DYNCREATE(NoteDoc, CDocument)

class ChartDoc : public NoteDoc {
    DECLARE_DYNCREATE(ChartDoc)
};
IMPLEMENT_DYNCREATE(ChartDoc, NoteDoc)

class NoteView : public CView {
    DECLARE_DYNCREATE(NoteView)

public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(NoteView, CView)

// Picks the last of the templates offered for a new document, and notes how many there were.
class PickingDocManager : public CDocManager {
public:
    CDocTemplate* ChooseNewTemplate(CPtrList& offered) override {
        offeredCount = static_cast<int>(offered.GetCount());
        return static_cast<CDocTemplate*>(offered.GetTail());
    }
    int offeredCount = 0;
};

class MainFrame : public CMDIFrameWnd {
public:
    void KeepMenuAsDefault() { m_hMenuDefault = ::GetMenu(m_hWnd); }
    void PostNcDestroy() override {}
    // Runs once while a modal dialog it owns waits for the user.
    std::function<void(HWND dialog)> onDialogIdle;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX && onDialogIdle) {
            auto step = std::move(onDialogIdle);
            onDialogIdle = nullptr;
            step(reinterpret_cast<HWND>(lParam));
        }
        return CMDIFrameWnd::WindowProc(message, wParam, lParam);
    }
};

class MultiDocTemplateTest : public FrameworkTest {
protected:
    void SetUp() override {
        g_docsAlive = 0;
        NoteDoc::failNew = false;
        m_app.m_pDocManager = m_manager = new PickingDocManager;
        HMENU own = ::CreateMenu();
        ::AppendMenuW(own, MF_STRING, 0x8100, u"&File");
        ASSERT_TRUE(m_frame.CreateEx(0, nullptr, u"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600, nullptr,
                                     own));
        m_frame.KeepMenuAsDefault();
        m_app.m_pMainWnd = &m_frame;
    }
    void TearDown() override {
        m_app.CloseAllDocuments(TRUE);
        if (m_frame.m_hWnd) {
            m_frame.DestroyWindow();
        }
        m_app.m_pMainWnd = nullptr;
        FrameworkTest::TearDown();
        EXPECT_EQ(g_docsAlive, 0);
    }
    // A template of `docClass` with the document strings `strings`, its menu a bar with one popup.
    CMultiDocTemplate* AddTemplate(UINT id, CRuntimeClass* docClass, const char16_t* strings) {
        auto* t = new CMultiDocTemplate(id, docClass, RUNTIME_CLASS(CMDIChildWnd), RUNTIME_CLASS(NoteView));
        t->m_strDocStrings = strings;
        t->m_hMenuShared = ::CreateMenu();
        ::AppendMenuW(t->m_hMenuShared, MF_POPUP, reinterpret_cast<UINT_PTR>(::CreatePopupMenu()), u"&Note");
        m_app.AddDocTemplate(t);
        return t;
    }
    static std::vector<CDocument*> Documents(CDocTemplate* t) {
        std::vector<CDocument*> docs;
        for (POSITION pos = t->GetFirstDocPosition(); pos;) {
            docs.push_back(t->GetNextDoc(pos));
        }
        return docs;
    }
    static CFrameWnd* FrameOf(CDocument* doc) {
        POSITION pos = doc->GetFirstViewPosition();
        return pos ? doc->GetNextView(pos)->GetParentFrame() : nullptr;
    }

    CWinApp m_app{u"MultiDocTest"};
    PickingDocManager* m_manager = nullptr; // the application's
    MainFrame m_frame;
};

TEST_F(MultiDocTemplateTest, EachDocumentGetsAChildWithItsViewAndANumberedTitle) {
    CMultiDocTemplate* notes = AddTemplate(310, RUNTIME_CLASS(NoteDoc), u"\nNote\nNote\n\n\n\n");
    CDocument* first = notes->OpenDocumentFile(nullptr);
    CDocument* second = notes->OpenDocumentFile(nullptr);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(Documents(notes), (std::vector<CDocument*>{first, second}));
    EXPECT_EQ(first->GetTitle(), CString(u"Note1"));
    EXPECT_EQ(second->GetTitle(), CString(u"Note2"));
    EXPECT_EQ(first->GetDocTemplate(), notes);

    auto* child = dynamic_cast<CMDIChildWnd*>(FrameOf(second));
    ASSERT_NE(child, nullptr);
    EXPECT_NE(child, FrameOf(first));
    EXPECT_EQ(::GetParent(child->m_hWnd), m_frame.m_hWndMDIClient);
    EXPECT_EQ(m_frame.MDIGetActive(), child) << "the newest comes up active";
    EXPECT_EQ(child->GetActiveDocument(), second);
    EXPECT_EQ(child->m_hMenuShared, notes->m_hMenuShared);
    EXPECT_EQ(::GetMenu(m_frame.m_hWnd), notes->m_hMenuShared) << "the active child's template menu";
    CString caption;
    child->GetWindowTextW(caption);
    EXPECT_EQ(caption, CString(u"Note2"));
    EXPECT_EQ(m_app.GetOpenDocumentCount(), 2);

    m_frame.DestroyWindow();
    EXPECT_TRUE(::IsMenu(notes->m_hMenuShared)) << "the template's menu outlives the frame that showed it";
    EXPECT_EQ(g_docsAlive, 0) << "closed with their views";
}

TEST_F(MultiDocTemplateTest, ADocumentClosesWithItsLastViewNotBefore) {
    CMultiDocTemplate* notes = AddTemplate(310, RUNTIME_CLASS(NoteDoc), u"\nNote\nNote\n\n\n\n");
    CDocument* doc = notes->OpenDocumentFile(nullptr);
    ASSERT_NE(doc, nullptr);
    CFrameWnd* firstFrame = FrameOf(doc);
    // A second window on the same document: Window > New Window.
    m_frame.SendMessageW(WM_COMMAND, ID_WINDOW_NEW);
    CFrameWnd* secondFrame = m_frame.MDIGetActive();
    ASSERT_NE(secondFrame, firstFrame);
    EXPECT_EQ(secondFrame->GetActiveDocument(), doc);
    CString caption;
    secondFrame->GetWindowTextW(caption);
    EXPECT_EQ(caption, CString(u"Note1:2"));
    firstFrame->GetWindowTextW(caption);
    EXPECT_EQ(caption, CString(u"Note1:1"));

    firstFrame->DestroyWindow();
    EXPECT_EQ(g_docsAlive, 1);
    EXPECT_EQ(Documents(notes).size(), 1u);
    secondFrame->DestroyWindow();
    EXPECT_EQ(g_docsAlive, 0);
    EXPECT_TRUE(Documents(notes).empty());
}

TEST_F(MultiDocTemplateTest, AFailedNewDocumentLeavesNoDocumentAndNoWindow) {
    CMultiDocTemplate* notes = AddTemplate(310, RUNTIME_CLASS(NoteDoc), u"\nNote\nNote\n\n\n\n");
    NoteDoc::failNew = true;
    EXPECT_EQ(notes->OpenDocumentFile(nullptr), nullptr);
    EXPECT_EQ(g_docsAlive, 0);
    EXPECT_TRUE(Documents(notes).empty());
    EXPECT_EQ(::GetWindow(m_frame.m_hWndMDIClient, GW_CHILD), nullptr);
    NoteDoc::failNew = false;
    ASSERT_NE(notes->OpenDocumentFile(nullptr), nullptr);
    EXPECT_EQ(Documents(notes).front()->GetTitle(), CString(u"Note1")) << "the failure used no number";
}

TEST_F(MultiDocTemplateTest, TheManagerOffersOnlyTemplatesWithANewNameAndOpensFilesByTheirType) {
    // The first makes documents from files only.
    CMultiDocTemplate* hidden = AddTemplate(310, RUNTIME_CLASS(NoteDoc), u"\nLog\n\n\n.log\n\n");
    CMultiDocTemplate* notes = AddTemplate(311, RUNTIME_CLASS(NoteDoc), u"\nNote\nNote\nNotes\n*.txt;*.note\n\n");
    CMultiDocTemplate* charts = AddTemplate(312, RUNTIME_CLASS(ChartDoc), u"\nChart\nChart\nCharts\n*.chart\n\n");
    m_app.OnFileNew();
    EXPECT_EQ(m_manager->offeredCount, 2);
    ASSERT_EQ(Documents(charts).size(), 1u) << "the pick";
    EXPECT_TRUE(Documents(notes).empty());

    CDocument* note = m_app.OpenDocumentFile(u"/data/a.NOTE");
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->GetDocTemplate(), notes);
    EXPECT_EQ(note->GetTitle(), CString(u"a.NOTE"));
    EXPECT_EQ(m_app.OpenDocumentFile(u"/data/b.log")->GetDocTemplate(), hidden);
    EXPECT_EQ(m_app.OpenDocumentFile(u"/data/c.bin")->GetDocTemplate(), hidden) << "no match: the first";
    // The same file again: the open document, brought forward.
    m_frame.MDIActivate(FrameOf(Documents(charts).front()));
    EXPECT_EQ(m_app.OpenDocumentFile(u"/data/A.note"), note);
    EXPECT_EQ(Documents(notes).size(), 1u);
    EXPECT_EQ(m_frame.MDIGetActive(), FrameOf(note));

    // One template with a new name among others: no choice to make.
    notes->m_strDocStrings = u"\nNote\n\n\n*.txt\n\n";
    m_manager->offeredCount = 0;
    m_app.OnFileNew();
    EXPECT_EQ(m_manager->offeredCount, 0);
    EXPECT_EQ(Documents(charts).size(), 2u);
}

TEST_F(MultiDocTemplateTest, TheNewDialogListsTheOfferedNamesAndAnswersThePick) {
    CMultiDocTemplate* notes = AddTemplate(311, RUNTIME_CLASS(NoteDoc), u"\nNote\nNote\n\n\n\n");
    CMultiDocTemplate* charts = AddTemplate(312, RUNTIME_CLASS(ChartDoc), u"\nChart\nChart\n\n\n\n");
    CPtrList offered;
    offered.AddTail(notes);
    offered.AddTail(charts);
    std::vector<std::u16string> shown;
    auto pick = [&](int index, UINT command) {
        m_frame.onDialogIdle = [&shown, index, command](HWND dialog) {
            HWND list = ::GetDlgItem(dialog, CNewTypeDlg::kListId);
            shown.clear();
            for (LRESULT i = 0; i < ::SendMessageW(list, LB_GETCOUNT, 0, 0); ++i) {
                char16_t text[32] = {};
                ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
                shown.emplace_back(text);
            }
            ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
            ::SendMessageW(dialog, WM_COMMAND, command, 0);
        };
        return m_manager->CDocManager::ChooseNewTemplate(offered);
    };
    EXPECT_EQ(pick(1, IDOK), charts);
    EXPECT_EQ(shown, (std::vector<std::u16string>{u"Note", u"Chart"}));
    EXPECT_EQ(pick(0, IDOK), notes);
    EXPECT_EQ(pick(1, IDCANCEL), nullptr);
}

TEST_F(MultiDocTemplateTest, FileOpenOffersEachTemplatesTypeAndOpensThePickWithItsTemplate) {
    AddTemplate(311, RUNTIME_CLASS(NoteDoc), u"\nNote\nNote\nNotes (*.txt;*.note)\n*.txt;*.note\n\n");
    CMultiDocTemplate* charts = AddTemplate(312, RUNTIME_CLASS(ChartDoc), u"\nChart\nChart\nCharts\n.chart\n\n");
    AddTemplate(313, RUNTIME_CLASS(NoteDoc), u"\nPlain\nPlain\n\n\n\n"); // no type of its own
    const std::u16string path = ScratchPath("open") + u".chart";
    std::FILE* file = std::fopen(std::string(path.begin(), path.end()).c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    std::vector<std::u16string> types;
    m_frame.onDialogIdle = [&](HWND dialog) {
        HWND combo = ::GetDlgItem(dialog, cmb1);
        for (LRESULT i = 0; i < ::SendMessageW(combo, CB_GETCOUNT, 0, 0); ++i) {
            char16_t text[64] = {};
            ::SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            types.emplace_back(text);
        }
        ::SetDlgItemTextW(dialog, edt1, path.c_str());
        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    };
    m_app.OnFileOpen();
    EXPECT_EQ(types, (std::vector<std::u16string>{u"Notes (*.txt;*.note)", u"Charts", u"All Files (*.*)"}));
    ASSERT_EQ(Documents(charts).size(), 1u);
    EXPECT_EQ(std::u16string(Documents(charts).front()->GetPathName()), path);
    std::remove(std::string(path.begin(), path.end()).c_str());
}

} // namespace
