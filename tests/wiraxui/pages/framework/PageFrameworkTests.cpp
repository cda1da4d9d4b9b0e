// The page framework's parts on their own: the decisions it makes, and its controls and
// dialogs on real windows.
#include "PageHost.h"

#include "DialogAnswerer.h"
#include "RegistryArranger.h"
#include "host/ResourceLibrary.h"
#include "pages/framework/CancelDialog.h"
#include "pages/controls/CustomizeHyperLink.h"
#include "pages/manufacturer/ManufacturerSelection.h"
#include "pages/framework/MessageLoop.h"
#include "pages/framework/PageCallbacks.h"
#include "pages/framework/PageFonts.h"
#include "pages/framework/PageNotices.h"
#include "pages/framework/PersistentWaitCursor.h"
#include "pages/framework/GdiHandles.h"
#include "pages/controls/RichLabelLinks.h"
#include "pages/controls/SeparatorStatic.h"
#include "pages/framework/WizardActions.h"
#include "pages/framework/WizardLinks.h"
#include "pages/framework/WizardPlacement.h"

#include <DeployHost.h>
#include <HostRes.h>
#include <RichLabel.h>
#include <WiraxUIRes.h>
#include <objidl.h>
#include <gdiplus.h>

#include <memory>
#include <set>

namespace pagetest {
namespace {

using namespace wiraxui;

size_t Row(const wchar_t* property)
{
    for (size_t row = 0; row < kManufacturerCount; ++row) {
        if (std::wstring(kManufacturers[row].property) == property)
            return row;
    }
    return kManufacturerCount;
}

ManufacturerSaveInput Choosing(std::initializer_list<const wchar_t*> properties)
{
    ManufacturerSaveInput input;
    input.checked.assign(kManufacturerCount, false);
    input.preselected.assign(kManufacturerCount, false);
    for (const wchar_t* property : properties)
        input.checked[Row(property)] = true;
    return input;
}

TEST(ManufacturerSave, WritesEveryRowAndSummarisesTheChosenOnesInTableOrder)
{
    const ManufacturerSavePlan plan = PlanManufacturerSave(Choosing({L"M_SI", L"M_A2"}));
    ASSERT_EQ(plan.properties.size(), 47u);
    EXPECT_EQ(plan.properties[Row(L"M_A2")], (std::pair<std::wstring, std::wstring>{L"M_A2", L"1"}));
    EXPECT_EQ(plan.properties[Row(L"M_SI")].second, L"1");
    EXPECT_EQ(plan.properties[0], (std::pair<std::wstring, std::wstring>{L"M_AB", L"0"}));
    EXPECT_EQ(plan.summary, L"ABB, SIEMENS");
    EXPECT_EQ(plan.total, 43556268);
    EXPECT_EQ(plan.selected[Row(L"M_SI")], 1);
    EXPECT_EQ(plan.selected[0], 0);
    EXPECT_TRUE(plan.anyChecked);

    ManufacturerSaveInput everything = Choosing({});
    everything.checked.assign(kManufacturerCount, true);
    EXPECT_EQ(PlanManufacturerSave(everything).total, kFullManufacturerContentBytes);

    const ManufacturerSavePlan nothing = PlanManufacturerSave(Choosing({}));
    EXPECT_EQ(nothing.summary, L"");
    EXPECT_EQ(nothing.total, 0);
    EXPECT_FALSE(nothing.anyChecked);
}

TEST(ManufacturerSave, SavesOnlyTheRowsAsked)
{
    ManufacturerSaveInput input = Choosing({L"M_AB", L"M_WE"});
    input.rows = 2;
    const ManufacturerSavePlan plan = PlanManufacturerSave(input);
    EXPECT_EQ(plan.properties.size(), 2u);
    EXPECT_EQ(plan.summary, L"AB");
    input.rows = 1000;
    EXPECT_EQ(PlanManufacturerSave(input).properties.size(), 47u);
}

TEST(ManufacturerSave, OnlyAChangedDeploymentChoiceAsksForSharedContent)
{
    ManufacturerSaveInput input = Choosing({L"M_SI"});
    input.sharedSymbolRequested = true;
    input.sharedSupportRequested = true;
    input.setupMode = ::Setup::SETUPMODE_DEPLOY_CHANGE;
    input.preselected[Row(L"M_SI")] = true;
    const ManufacturerSavePlan same = PlanManufacturerSave(input);
    EXPECT_FALSE(same.setSharedSymbol);
    EXPECT_FALSE(same.setSharedSupport);

    input.preselected[Row(L"M_WE")] = true;  // the user dropped a preselected manufacturer
    const ManufacturerSavePlan dropped = PlanManufacturerSave(input);
    EXPECT_TRUE(dropped.setSharedSymbol);
    EXPECT_TRUE(dropped.setSharedSupport);

    input.sharedSupportRequested = false;
    EXPECT_FALSE(PlanManufacturerSave(input).setSharedSupport);
    input.setupMode = ::Setup::SETUPMODE_DEPLOY_UPDATE;
    EXPECT_FALSE(PlanManufacturerSave(input).setSharedSymbol);
}

TEST(PageFont, ReadsFaceAndSizeAndRefusesIncompleteTexts)
{
    const auto spec = ParsePageFontSpec(L" Segoe UI ; 9");
    ASSERT_TRUE(spec);
    EXPECT_EQ(spec->face, L"Segoe UI");
    EXPECT_EQ(spec->points, 9);
    EXPECT_FALSE(ParsePageFontSpec(L"Tahoma"));
    EXPECT_FALSE(ParsePageFontSpec(L"Tahoma;"));
    EXPECT_FALSE(ParsePageFontSpec(L";8"));
    EXPECT_FALSE(ParsePageFontSpec(L"Tahoma;big"));
    EXPECT_FALSE(ParsePageFontSpec(L"Tahoma;0"));
}

TEST(CancelQuestion, NamesWhatIsLeftUnfinishedBySetupMode)
{
    EXPECT_EQ(CancelReasonStringId(2), 418u);
    EXPECT_EQ(CancelReasonStringId(3), 419u);
    for (int mode : {4, 5, 6})
        EXPECT_EQ(CancelReasonStringId(mode), 420u);
    for (int mode : {0, 1, 7})
        EXPECT_EQ(CancelReasonStringId(mode), 379u);
    EXPECT_EQ(FormatCancelQuestion(L"%1 Cancel?", L"50% done."), L"50% done. Cancel?");
    // A host text with inserts that have no argument shows them as written.
    EXPECT_EQ(FormatCancelQuestion(L"%1 %2 %3!s! %12 100%% %10", L"R"), L"R %2 %3!s! %12 100% %10");
}

TEST(WizardLinks, UsesTheOnlineAddressOrTheInstallationsOwnDocument)
{
    std::set<std::wstring> files{L"C:\\Host\\Res\\en-US\\help.htm", L"D:\\Media\\Res\\support.htm"};
    const FileExists exists = [&](const std::wstring& path) { return files.count(path) > 0; };
    LinkSources sources{L"https://help.example/wirax", L"%setuphostlang%\\help.htm", L"C:\\Host\\Res",
                        L"D:\\Media\\Res\\", L"en-US"};
    EXPECT_EQ(ResolveWizardLink(sources, true, exists), L"https://help.example/wirax");
    EXPECT_EQ(ResolveWizardLink(sources, false, exists), L"C:\\Host\\Res\\en-US\\help.htm");

    sources.offlinePath = L"support.htm";  // only the source media has it
    EXPECT_EQ(ResolveWizardLink(sources, false, exists), L"D:\\Media\\Res\\support.htm");
    sources.offlinePath = L"missing.htm";
    EXPECT_FALSE(ResolveWizardLink(sources, false, exists));

    sources.onlineAddress = std::wstring(L"https://x/") + std::wstring(kMaxLinkAddress, L'a');
    sources.offlinePath = L"E:\\Docs\\guide.pdf";
    EXPECT_EQ(ResolveWizardLink(sources, true, exists), L"E:\\Docs\\guide.pdf");
}

TEST(RichLabelLinks, OpensDocumentsByExtension)
{
    EXPECT_EQ(ClassifyRichLabelTarget(L"Docs\\Guide.PDF"), RichLabelTarget::Pdf);
    EXPECT_EQ(ClassifyRichLabelTarget(L"help/index.html"), RichLabelTarget::Html);
    EXPECT_EQ(ClassifyRichLabelTarget(L"help.htm?topic=3"), RichLabelTarget::Html);
    EXPECT_EQ(ClassifyRichLabelTarget(L"setup.exe"), RichLabelTarget::Ignored);
    EXPECT_EQ(ClassifyRichLabelTarget(L"folder.v2\\readme"), RichLabelTarget::Ignored);

    const FileExists onlySource = [](const std::wstring& path) { return path == L"D:\\Media\\help.htm"; };
    EXPECT_EQ(ResolveHtmlTarget(L"help.htm?topic=3", L"C:\\Host", L"D:\\Media", onlySource),
              L"file:///D:\\Media\\help.htm?topic=3");
    EXPECT_EQ(ResolveHtmlTarget(L"https://example.test/a.html", L"C:\\Host", L"D:\\Media", onlySource),
              L"https://example.test/a.html");
    EXPECT_FALSE(ResolveHtmlTarget(L"other.htm", L"C:\\Host", L"D:\\Media", onlySource));
}

// The process's current folder may be one any user can write (a folder dialog leaves the process
// in the last folder it showed): a document named relative to the host is opened from the host's
// folder only, never from the current one.
TEST(RichLabelLinks, ARelativeDocumentIsOpenedFromTheHostsFolderOnly)
{
    wchar_t module[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    const std::wstring bin = std::wstring(module).substr(0, std::wstring(module).find_last_of(L'\\'));
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    const std::wstring pid = std::to_wstring(GetCurrentProcessId());
    const std::wstring current = std::wstring(temp) + L"pdfcurrent" + pid;
    const std::wstring record = std::wstring(temp) + L"pdfrecord" + pid + L".txt";
    const std::wstring name = L"wxguide" + pid + L".pdf";
    ASSERT_TRUE(CreateDirectoryW(current.c_str(), nullptr));
    for (const std::wstring& document : {current + L"\\" + name, bin + L"\\" + name}) {
        HANDLE file = CreateFileW(document.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        CloseHandle(file);
    }
    hostkit::RegistryArranger classes;
    ASSERT_TRUE(classes.SetString(HKEY_LOCAL_MACHINE, L"Software\\Classes\\.pdf", L"", L"WiraxTestPdfDocument"));
    ASSERT_TRUE(classes.SetString(HKEY_LOCAL_MACHINE, L"Software\\Classes\\WiraxTestPdfDocument\\shell\\open\\command", L"",
                                  L"\"" + bin + L"\\LinkRecorder.exe\" \"" + record + L"\" \"%1\""));
    wchar_t previous[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(current.c_str()));

    OpenRichLabelTarget(name, nullptr);
    SetCurrentDirectoryW(previous);
    std::wstring recorded;
    for (int waited = 0; waited < 10000 && GetFileAttributesW(record.c_str()) == INVALID_FILE_ATTRIBUTES; waited += 20)
        Sleep(20);
    HANDLE file = CreateFileW(record.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        wchar_t text[4096] = L"";
        DWORD read = 0;
        ReadFile(file, text, sizeof text - sizeof(wchar_t), &read, nullptr);
        CloseHandle(file);
        recorded.assign(text, read / sizeof(wchar_t));
    }
    DeleteFileW(record.c_str());
    DeleteFileW((bin + L"\\" + name).c_str());
    DeleteFileW((current + L"\\" + name).c_str());
    RemoveDirectoryW(current.c_str());
    EXPECT_NE(recorded.find(bin + L"\\" + name), std::wstring::npos) << testsupport::Narrow(recorded);
    EXPECT_EQ(recorded.find(current), std::wstring::npos) << testsupport::Narrow(recorded);
}

TEST(Separator, DrawsItsLinesAtTheAlignedEdgeShortenedByTheRatio)
{
    const RECT area{0, 0, 200, 100};
    SeparatorStyle style;
    style.style = SeparatorStyle::kVertical;
    style.alignment = SeparatorStyle::kRight;
    style.lengthRatio = 0.5;
    auto lines = SeparatorLines(area, style);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].from.x, 199);
    EXPECT_EQ(lines[0].from.y, 25);
    EXPECT_EQ(lines[0].to.y, 75);

    style.style = SeparatorStyle::kVertical | SeparatorStyle::kHorizontal;
    style.alignment = SeparatorStyle::kBottom;
    style.lengthRatio = 1.0;
    lines = SeparatorLines(area, style);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].from.x, 100);  // a vertical line ignores a horizontal alignment
    EXPECT_EQ(lines[1].from.y, 99);
    EXPECT_EQ(lines[1].from.x, 0);
    EXPECT_EQ(lines[1].to.x, 200);
}

int g_order[4];
int g_calls = 0;
std::vector<uintptr_t> g_seen[2];
uintptr_t* g_records[2];
constexpr size_t kNoteWord = 30;  // a word the page leaves 0, which a host callback may use
int First(uintptr_t* record)
{
    g_records[0] = record;
    g_order[g_calls++] = 1;
    g_seen[0].assign(record, record + PageRecord::kWords);
    record[kNoteWord] = 0x5150;  // a note for the callbacks after this one
    return 2;
}
int Second(uintptr_t* record)
{
    g_records[1] = record;
    g_order[g_calls++] = 2;
    g_seen[1].assign(record, record + PageRecord::kWords);
    return 7;
}

TEST(CallbackLists, RunInOrderOnOneRecordPerRunAndAnswerTheLastResult)
{
    std::vector<PageCallback> host{&First, nullptr, &Second};
    std::array<uintptr_t, PageRecord::kWords> record{};
    auto* list = reinterpret_cast<HostCallbackList*>(&record[PageRecord::kLeaveList]);
    list->first = host.data();
    list->last = host.data() + host.size();
    const CallbackList copy = CopyCallbackList(record.data(), PageRecord::kLeaveList);
    ASSERT_EQ(copy.size(), 2u);

    auto* setup = reinterpret_cast<CSetupManager*>(0x1000);
    auto* product = reinterpret_cast<CProduct*>(0x2000);
    const PageEventSource source{reinterpret_cast<HWND>(0x3000), setup, product, 0x4000};
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        g_calls = 0;
        EXPECT_EQ(RunCallbackList(copy, source, kEmptyLeaveListResult), 7);
        EXPECT_EQ(g_order[0], 1);
        EXPECT_EQ(g_order[1], 2);
        EXPECT_EQ(g_seen[0][0], 0x3000u);
        EXPECT_EQ(g_seen[0][6], 0x1000u);
        EXPECT_EQ(g_seen[0][7], 0x2000u);
        EXPECT_EQ(g_seen[0][20], 0x4000u);
        EXPECT_EQ(g_seen[0][25], 1u);
        EXPECT_EQ(g_seen[0][8], 0u);
        // Every run starts from a filled record; within a run the callbacks share it.
        EXPECT_EQ(g_seen[0][kNoteWord], 0u);
        EXPECT_EQ(g_records[1], g_records[0]);
        EXPECT_EQ(g_seen[1][kNoteWord], 0x5150u);
        EXPECT_EQ(g_seen[1][7], 0x2000u);
    }

    EXPECT_EQ(RunCallbackList({}, source, kEmptyLeaveListResult), 1);
    EXPECT_EQ(RunCallbackList({}, source, kEmptyListResult), 0);
    EXPECT_TRUE(CopyCallbackList(std::array<uintptr_t, PageRecord::kWords>{}.data(), PageRecord::kInitList).empty());
}

TEST(PageNotices, TellTheHostWindowAboutPropertiesAndHeight)
{
    HostPanel panel;
    SendPropertyChangedNotice(panel.Handle(), panel.Handle(), L"DRAWINGSTANDARD");
    SendHeightChangedNotice(panel.Handle(), panel.Handle());
    ASSERT_EQ(panel.copiedNames.size(), 1u);
    EXPECT_EQ(panel.copiedNames[0], L"DRAWINGSTANDARD");
    ASSERT_EQ(panel.notifyCodes.size(), 1u);
    EXPECT_EQ(panel.notifyCodes[0], -610);
}

TEST(PageNotices, APropertyNameMayComeAsAStringNumberOfTheLibrary)
{
    CResourceLibraryLoader library;
    ASSERT_TRUE(library.Load(ResolveResourceLibrary(L"WiraxUIRes.dll")));
    EXPECT_EQ(ResolvePropertyName(MAKEINTRESOURCEW(IDS_MANUFACTURER_COLUMN), library.Module()), L"Manufacturer");
    EXPECT_EQ(ResolvePropertyName(L"SHAREDSYMBOL", library.Module()), L"SHAREDSYMBOL");
    EXPECT_EQ(ResolvePropertyName(nullptr, library.Module()), L"");
    EXPECT_EQ(ResolvePropertyName(MAKEINTRESOURCEW(9), library.Module()), L"");
}

class QuitFilter : public CMessageFilter {
public:
    BOOL PreTranslateMessage(MSG* message) override
    {
        if (message->message != WM_APP)
            return FALSE;
        ++consumed;
        PostQuitMessage(static_cast<int>(message->wParam));
        return TRUE;
    }
    int consumed = 0;
};

TEST(MessageLoop, FiltersSeeMessagesFirstAndTheQuitCodeIsTheResult)
{
    CMessageLoop loop;
    QuitFilter filter;
    loop.AddMessageFilter(&filter);
    {
        CMessageLoopRegistration registration(&loop);
        EXPECT_EQ(ThreadMessageLoop(), &loop);
        PostThreadMessageW(GetCurrentThreadId(), WM_APP, 1001, 0);
        EXPECT_EQ(loop.Run(), 1001);
    }
    EXPECT_EQ(ThreadMessageLoop(), nullptr);
    EXPECT_EQ(filter.consumed, 1);
}

TEST(WaitCursor, IsActiveWhileAnyExists)
{
    EXPECT_FALSE(CPersistentWaitCursor::IsActive());
    {
        CPersistentWaitCursor outer;
        {
            CPersistentWaitCursor inner;
        }
        EXPECT_TRUE(CPersistentWaitCursor::IsActive());
    }
    EXPECT_FALSE(CPersistentWaitCursor::IsActive());
}

TEST(CancelDialog, ShowsTheQuestionForTheSetupModeAndAnswersWithTheButton)
{
    CResourceLibraryLoader host;
    ASSERT_TRUE(host.Load(ResolveResourceLibrary(L"HostRes.dll")));
    CResourceInstanceScope scope(host.Module());
    hostkit::DialogAnswerer answerer({L"Cancel Setup"}, IDNO);
    CCancelDialog dialog(2);
    EXPECT_EQ(dialog.DoModal(nullptr), IDNO);
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_NE(answerer.Seen()[0].text.find(L"Setup has not finished changing the installed products."),
              std::wstring::npos);
    EXPECT_NE(answerer.Seen()[0].text.find(L"Do you want to cancel?"), std::wstring::npos);
}

TEST(HyperLink, AClickTellsTheParentOrOpensTheTarget)
{
    HostPanel panel;
    HWND label = CreateWindowExW(0, L"Static", L"Support", WS_CHILD | WS_VISIBLE, 10, 10, 80, 16, panel.Handle(),
                                 reinterpret_cast<HMENU>(1063), nullptr, nullptr);
    CCustomizeHyperLink link;
    ASSERT_TRUE(link.SubclassWindow(label));
    link.SetTarget(L"https://support.example/wirax");

    link.SetLinkStyle(CCustomizeHyperLink::kCommandStyle | CCustomizeHyperLink::kNotifyStyle);
    SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    ASSERT_EQ(panel.notifyCodes.size(), 1u);
    EXPECT_EQ(panel.notifyCodes[0], NM_CLICK);

    UrlUtil::SetShellOpening(false);
    UrlUtil::ClearOpenedLinks();
    link.SetLinkStyle(0);
    SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(200, 2));  // released outside: no click
    EXPECT_TRUE(UrlUtil::OpenedLinks().empty());
    link.Activate();
    EXPECT_EQ(UrlUtil::OpenedLinks(), std::vector<std::string>{"https://support.example/wirax"});
    UrlUtil::SetShellOpening(true);
    DestroyWindow(label);
}

// A focused link takes the characters a dialog would use otherwise: Space opens it like a click,
// other characters do nothing.
TEST(HyperLink, SpaceOnTheFocusedLinkDoesWhatAClickDoes)
{
    HostPanel panel;
    HWND label = CreateWindowExW(0, L"Static", L"Support", WS_CHILD | WS_VISIBLE, 10, 10, 80, 16, panel.Handle(),
                                 reinterpret_cast<HMENU>(1063), nullptr, nullptr);
    CCustomizeHyperLink link;
    ASSERT_TRUE(link.SubclassWindow(label));
    link.SetLinkStyle(CCustomizeHyperLink::kCommandStyle | CCustomizeHyperLink::kNotifyStyle);
    EXPECT_NE(SendMessageW(label, WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS, 0);
    SendMessageW(label, WM_CHAR, 'x', 0);
    EXPECT_TRUE(panel.notifyCodes.empty());
    SendMessageW(label, WM_CHAR, VK_SPACE, 0);
    ASSERT_EQ(panel.notifyCodes.size(), 1u);
    EXPECT_EQ(panel.notifyCodes[0], NM_CLICK);
    DestroyWindow(label);
}

TEST(HostBitmaps, TheTitleLineComesFromTheHostLibraryAsAPng)
{
    CGdiplusSession gdiplus;
    ASSERT_TRUE(gdiplus.Started());
    CResourceLibraryLoader host;
    ASSERT_TRUE(host.Load(ResolveResourceLibrary(L"HostRes.dll")));
    std::unique_ptr<Gdiplus::Bitmap> line(CtrlUtil::GetBitmapFromModule(host.Module(), L"IDB_PNG_TITLE_LINE", L"PNG"));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->GetWidth(), 640u);
    EXPECT_EQ(line->GetHeight(), 2u);
    EXPECT_EQ(CtrlUtil::GetBitmapFromModule(host.Module(), L"NO_SUCH_IMAGE", L"PNG"), nullptr);
}

TEST(HostLinks, TheHyperlinkInATextIsFound)
{
    EXPECT_EQ(UrlUtil::ExtractHyperlink("See <a href=\"https://a.example/x\">here</a>."), "https://a.example/x");
    EXPECT_EQ(UrlUtil::ExtractHyperlink("Visit www.example.test today"), "www.example.test");
    EXPECT_EQ(UrlUtil::ExtractHyperlink("  C:\\Docs\\guide.pdf "), "C:\\Docs\\guide.pdf");
    EXPECT_EQ(UrlUtil::ExtractHyperlink(nullptr), "");
}

}  // namespace
}  // namespace pagetest

namespace pagetest {
namespace {

TEST(InlineHostMembers, ThePlugInExportsItsCopiesOfTheRichLabelMembers)
{
    hostkit::LoadedLibrary plugin(L"WiraxUI.dll");
    ASSERT_TRUE(plugin.Loaded());
    auto* isCursorLocked = plugin.Export<bool(const CRichLabelCtrl*)>("_ZNK14CRichLabelCtrl14IsCursorLockedEv");
    auto* setTransparency = plugin.Export<void(CRichLabelCtrl*, float)>("_ZN14CRichLabelCtrl17SetBkTransparencyEf");
    auto* setFormats = plugin.Export<void(CRichLabelCtrlEx*, UINT, UINT)>("_ZN16CRichLabelCtrlEx24SetIdleHoverRenderFormatEjj");
    auto* setShowItems = plugin.Export<void(CBalloonDialog*, bool)>("_ZN14CBalloonDialog12SetShowItemsEb");
    ASSERT_TRUE(isCursorLocked && setTransparency && setFormats && setShowItems);

    CRichLabelCtrlEx label;
    EXPECT_FALSE(isCursorLocked(&label));
    label.m_hoverCursorLockCount = 1;
    EXPECT_TRUE(isCursorLocked(&label));
    setTransparency(&label, 0.25f);
    EXPECT_FLOAT_EQ(label.GetBkTransparency(), 0.25f);
    setFormats(&label, 3, 5);
    EXPECT_EQ(label.m_idleFormat, 3u);
    EXPECT_EQ(label.m_hoverFormat, 5u);
    EXPECT_EQ(label.m_renderFormat, 3u);
    CBalloonDialog balloon;
    setShowItems(&balloon, true);
    EXPECT_TRUE(balloon.m_showItems);
}

}  // namespace
}  // namespace pagetest
