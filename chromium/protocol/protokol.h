// The engine's protocol as this library speaks it: every command it sends and every
// event and answer it reads, as typed records with the method names in one place.
//
// Commands are written from records (`Json(komut)`); events and answers are read
// into records once, with `oku`, which fills what is there, leaves the defaults for
// what is missing, and answers false for a message of the wrong shape (a field of
// another type): such a message is ignored, never trusted.
#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>
#include <vector>

using Json = nlohmann::json;

namespace protokol {

template <class Kayit>
bool oku(const Json& ileti, Kayit* kayit)
{
    if (!ileti.is_object())
        return false;
    try {
        *kayit = ileti.get<Kayit>();
        return true;
    } catch (const Json::exception&) {
        return false;
    }
}

// A command with no parameters.
#define KOMUT_YALIN(ad, yontem)                                                  \
    struct ad {                                                                  \
        static constexpr const char* YONTEM = yontem;                            \
    };                                                                           \
    inline void to_json(Json& j, const ad&) { j = Json::object(); }

KOMUT_YALIN(PageEnable, "Page.enable")
KOMUT_YALIN(NetworkEnable, "Network.enable")
KOMUT_YALIN(RuntimeEnable, "Runtime.enable")
KOMUT_YALIN(InspectorEnable, "Inspector.enable")
KOMUT_YALIN(Reload, "Page.reload")
KOMUT_YALIN(StopLoading, "Page.stopLoading")
KOMUT_YALIN(GetNavigationHistory, "Page.getNavigationHistory")
KOMUT_YALIN(StopScreencast, "Page.stopScreencast")
KOMUT_YALIN(BringToFront, "Page.bringToFront")
KOMUT_YALIN(RunIfWaitingForDebugger, "Runtime.runIfWaitingForDebugger")
KOMUT_YALIN(GetVersion, "Browser.getVersion")

#undef KOMUT_YALIN

// ---- Targets.

// Made in the background: a new page does not take the place of the page shown
// as the engine's front page (which would stop painting and take the input).
struct CreateTarget {
    static constexpr const char* YONTEM = "Target.createTarget";
    std::string url;
    bool background = true;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(CreateTarget, url, background)
struct CreateTargetYaniti {
    std::string targetId;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(CreateTargetYaniti, targetId)

struct AttachToTarget {
    static constexpr const char* YONTEM = "Target.attachToTarget";
    std::string targetId;
    bool flatten = true;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(AttachToTarget, targetId, flatten)
struct AttachToTargetYaniti {
    std::string sessionId;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(AttachToTargetYaniti, sessionId)

struct CloseTarget {
    static constexpr const char* YONTEM = "Target.closeTarget";
    std::string targetId;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(CloseTarget, targetId)

struct GetTargetInfo {
    static constexpr const char* YONTEM = "Target.getTargetInfo";
    std::string targetId;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(GetTargetInfo, targetId)

// `openerId` names the page that opened this one (window.open, a link with a
// target, with or without noopener).
struct HedefBilgisi {
    std::string targetId, type, title, url, openerId;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(HedefBilgisi, targetId, type, title, url, openerId)
struct GetTargetInfoYaniti {
    HedefBilgisi targetInfo;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(GetTargetInfoYaniti, targetInfo)

struct SetAutoAttach {
    static constexpr const char* YONTEM = "Target.setAutoAttach";
    struct Suzgec {
        std::string type;
        bool exclude = false;
    };
    bool autoAttach = true, waitForDebuggerOnStart = true, flatten = true;
    std::vector<Suzgec> filter;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(SetAutoAttach::Suzgec, type, exclude)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(SetAutoAttach, autoAttach, waitForDebuggerOnStart, flatten, filter)

// A target the engine attached by itself: every page target, the library's own as
// well as a window a page opened; held before it runs anything when
// `waitingForDebugger`, until Runtime.runIfWaitingForDebugger on its session.
struct AttachedToTarget {
    static constexpr const char* YONTEM = "Target.attachedToTarget";
    std::string sessionId;
    HedefBilgisi targetInfo;
    bool waitingForDebugger = false;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(AttachedToTarget, sessionId, targetInfo, waitingForDebugger)

// A session ended: its target closed (window.close() by the engine's own rule, or
// the library's Target.closeTarget) or its connection went.
struct DetachedFromTarget {
    static constexpr const char* YONTEM = "Target.detachedFromTarget";
    std::string sessionId, targetId;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(DetachedFromTarget, sessionId, targetId)

// ---- Navigation and history.

struct Navigate {
    static constexpr const char* YONTEM = "Page.navigate";
    std::string url;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(Navigate, url)

struct NavigateToHistoryEntry {
    static constexpr const char* YONTEM = "Page.navigateToHistoryEntry";
    int64_t entryId = 0;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(NavigateToHistoryEntry, entryId)

struct GecmisKaydi {
    int64_t id = -1;
    std::string url, title;
    bool operator==(const GecmisKaydi& o) const { return id == o.id && url == o.url && title == o.title; }
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(GecmisKaydi, id, url, title)
struct Gecmis {
    int64_t currentIndex = 0;
    std::vector<GecmisKaydi> entries;
    bool operator==(const Gecmis& o) const { return currentIndex == o.currentIndex && entries == o.entries; }
    bool operator!=(const Gecmis& o) const { return !(*this == o); }
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Gecmis, currentIndex, entries)

struct SetDocumentContent {
    static constexpr const char* YONTEM = "Page.setDocumentContent";
    std::string frameId, html;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(SetDocumentContent, frameId, html)

struct FetchEnable {
    static constexpr const char* YONTEM = "Fetch.enable";
    struct Desen {
        std::string urlPattern, resourceType, requestStage;
    };
    std::vector<Desen> patterns;
};
// An empty type or stage is left out: every type, at the request.
inline void to_json(Json& j, const FetchEnable::Desen& d)
{
    j = Json{{"urlPattern", d.urlPattern}};
    if (!d.resourceType.empty())
        j["resourceType"] = d.resourceType;
    if (!d.requestStage.empty())
        j["requestStage"] = d.requestStage;
}
inline void to_json(Json& j, const FetchEnable& f) { j = Json{{"patterns", f.patterns}}; }

struct ContinueRequest {
    static constexpr const char* YONTEM = "Fetch.continueRequest";
    std::string requestId;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(ContinueRequest, requestId)

struct FailRequest {
    static constexpr const char* YONTEM = "Fetch.failRequest";
    std::string requestId, errorReason = "Aborted";
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(FailRequest, requestId, errorReason)

struct IstekBilgisi {
    std::string url;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(IstekBilgisi, url)

// A request held before it goes out (documents only): a navigation about to start.
struct RequestPaused {
    static constexpr const char* YONTEM = "Fetch.requestPaused";
    std::string requestId, frameId, networkId, redirectedRequestId;
    IstekBilgisi request;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(RequestPaused, requestId, frameId, networkId, redirectedRequestId,
                                                request)

struct FrameStartedNavigating {
    static constexpr const char* YONTEM = "Page.frameStartedNavigating";
    std::string frameId, url, navigationType;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(FrameStartedNavigating, frameId, url, navigationType)

struct RequestWillBeSent {
    static constexpr const char* YONTEM = "Network.requestWillBeSent";
    std::string requestId, frameId, type;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(RequestWillBeSent, requestId, frameId, type)

// The response's headers came: a document's navigation waits for the network no more.
struct ResponseReceived {
    static constexpr const char* YONTEM = "Network.responseReceived";
    std::string requestId, frameId, type;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(ResponseReceived, requestId, frameId, type)

struct LoadingFailed {
    static constexpr const char* YONTEM = "Network.loadingFailed";
    std::string requestId, type, errorText;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(LoadingFailed, requestId, type, errorText)

struct Cerceve {
    std::string id, parentId, url, urlFragment, unreachableUrl;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Cerceve, id, parentId, url, urlFragment, unreachableUrl)

struct FrameNavigated {
    static constexpr const char* YONTEM = "Page.frameNavigated";
    Cerceve frame;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(FrameNavigated, frame)

// A text put into the frame's document (Page.setDocumentContent) opens it anew:
// no navigation is reported for it.
struct DocumentOpened {
    static constexpr const char* YONTEM = "Page.documentOpened";
    Cerceve frame;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(DocumentOpened, frame)

struct NavigatedWithinDocument {
    static constexpr const char* YONTEM = "Page.navigatedWithinDocument";
    std::string frameId, url;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(NavigatedWithinDocument, frameId, url)

struct FrameStoppedLoading {
    static constexpr const char* YONTEM = "Page.frameStoppedLoading";
    std::string frameId;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(FrameStoppedLoading, frameId)

struct WindowOpen {
    static constexpr const char* YONTEM = "Page.windowOpen";
    std::string url;
    bool userGesture = false;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(WindowOpen, url, userGesture)

// ---- Scripts.

// The library's own page-side helpers live in an isolated world of this name: they
// share the page's document but not its globals, so the page's scripts can neither
// see nor call them (nor their bindings).
inline constexpr const char* YARDIMCI_DUNYA = "__korva";

// With no contextId, the main world of the top frame.
struct Evaluate {
    static constexpr const char* YONTEM = "Runtime.evaluate";
    std::string expression;
    bool returnByValue = true, userGesture = false;
    int64_t contextId = 0;
};
inline void to_json(Json& j, const Evaluate& e)
{
    j = Json{{"expression", e.expression}, {"returnByValue", e.returnByValue}, {"userGesture", e.userGesture}};
    if (e.contextId)
        j["contextId"] = e.contextId;
}

// A context appears for each world of each frame; the helpers' world of the top
// frame is the one whose auxData names the top frame and whose name is ours.
struct ExecutionContextAuxData {
    std::string frameId, type;
    bool isDefault = false;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(ExecutionContextAuxData, frameId, type, isDefault)
// `origin`: the engine's word for the context's origin (a permission asks for it).
struct ExecutionContextDescription {
    int64_t id = 0;
    std::string name, origin;
    ExecutionContextAuxData auxData;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(ExecutionContextDescription, id, name, origin, auxData)
struct ExecutionContextCreated {
    static constexpr const char* YONTEM = "Runtime.executionContextCreated";
    ExecutionContextDescription context;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(ExecutionContextCreated, context)
struct ExecutionContextDestroyed {
    static constexpr const char* YONTEM = "Runtime.executionContextDestroyed";
    int64_t executionContextId = 0;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(ExecutionContextDestroyed, executionContextId)
struct ExecutionContextsCleared {
    static constexpr const char* YONTEM = "Runtime.executionContextsCleared";
};
// Read by nobody: dropped unparsed (hedefler.cpp).
struct ConsoleApiCalled {
    static constexpr const char* YONTEM = "Runtime.consoleAPICalled";
};
// The answer is read as it comes: its value is any JSON.

// With a context name, the binding exists only in the worlds of that name.
struct AddBinding {
    static constexpr const char* YONTEM = "Runtime.addBinding";
    std::string name, executionContextName;
};
inline void to_json(Json& j, const AddBinding& b)
{
    j = Json{{"name", b.name}};
    if (!b.executionContextName.empty())
        j["executionContextName"] = b.executionContextName;
}

struct BindingCalled {
    static constexpr const char* YONTEM = "Runtime.bindingCalled";
    std::string name, payload;
    int64_t executionContextId = 0;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(BindingCalled, name, payload, executionContextId)

// With a world name, the script runs in an isolated world of that name (made for
// every frame; the script itself decides whether it has work in a subframe).
struct AddScriptToEvaluateOnNewDocument {
    static constexpr const char* YONTEM = "Page.addScriptToEvaluateOnNewDocument";
    std::string source, worldName;
};
inline void to_json(Json& j, const AddScriptToEvaluateOnNewDocument& a)
{
    j = Json{{"source", a.source}};
    if (!a.worldName.empty())
        j["worldName"] = a.worldName;
}

// An isolated world in a frame that already has its document (the first document of
// a target, made before the script above was added); answers its context id.
struct CreateIsolatedWorld {
    static constexpr const char* YONTEM = "Page.createIsolatedWorld";
    std::string frameId, worldName;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(CreateIsolatedWorld, frameId, worldName)
struct CreateIsolatedWorldYaniti {
    int64_t executionContextId = 0;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(CreateIsolatedWorldYaniti, executionContextId)

// A page's alert, confirm, prompt or beforeunload: the page waits for the answer.
// `url` is the address of the frame that asks.
struct JavascriptDialogOpening {
    static constexpr const char* YONTEM = "Page.javascriptDialogOpening";
    std::string url, type, message, defaultPrompt;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(JavascriptDialogOpening, url, type, message, defaultPrompt)

// The engine closed the dialog itself (the page went away meanwhile), or took our answer.
struct JavascriptDialogClosed {
    static constexpr const char* YONTEM = "Page.javascriptDialogClosed";
    bool result = false;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(JavascriptDialogClosed, result)

struct HandleJavaScriptDialog {
    static constexpr const char* YONTEM = "Page.handleJavaScriptDialog";
    bool accept = true;
    std::string promptText;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(HandleJavaScriptDialog, accept, promptText)

// ---- Downloads (the browser's own session).

// Every download is saved under its guid in `downloadPath`, and reported.
struct SetDownloadBehavior {
    static constexpr const char* YONTEM = "Browser.setDownloadBehavior";
    std::string behavior = "allowAndName", downloadPath;
    bool eventsEnabled = true;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(SetDownloadBehavior, behavior, downloadPath, eventsEnabled)

struct DownloadWillBegin {
    static constexpr const char* YONTEM = "Browser.downloadWillBegin";
    std::string frameId, guid, url, suggestedFilename;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(DownloadWillBegin, frameId, guid, url, suggestedFilename)

// `state`: "inProgress", "completed" or "canceled".
struct DownloadProgress {
    static constexpr const char* YONTEM = "Browser.downloadProgress";
    std::string guid, state;
    double totalBytes = 0, receivedBytes = 0;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(DownloadProgress, guid, state, totalBytes, receivedBytes)

struct CancelDownload {
    static constexpr const char* YONTEM = "Browser.cancelDownload";
    std::string guid;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(CancelDownload, guid)
// ---- Files a page asks for.

// The page's file inputs open no chooser of the engine's: it reports them instead.
struct SetInterceptFileChooserDialog {
    static constexpr const char* YONTEM = "Page.setInterceptFileChooserDialog";
    bool enabled = true;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(SetInterceptFileChooserDialog, enabled)

// `mode` is "selectSingle" or "selectMultiple"; the input is `backendNodeId`.
struct FileChooserOpened {
    static constexpr const char* YONTEM = "Page.fileChooserOpened";
    std::string frameId, mode;
    int64_t backendNodeId = 0;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(FileChooserOpened, frameId, mode, backendNodeId)

// A node's attributes, as name, value, name, value...
struct DescribeNode {
    static constexpr const char* YONTEM = "DOM.describeNode";
    int64_t backendNodeId = 0;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(DescribeNode, backendNodeId)
struct Dugum {
    std::vector<std::string> attributes;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Dugum, attributes)
struct DescribeNodeYaniti {
    Dugum node;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(DescribeNodeYaniti, node)

// Paths as the engine's own system names them.
struct SetFileInputFiles {
    static constexpr const char* YONTEM = "DOM.setFileInputFiles";
    std::vector<std::string> files;
    int64_t backendNodeId = 0;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(SetFileInputFiles, files, backendNodeId)

// ---- The page's process.

struct TargetCrashed {
    static constexpr const char* YONTEM = "Inspector.targetCrashed";
};
struct TargetReloadedAfterCrash {
    static constexpr const char* YONTEM = "Inspector.targetReloadedAfterCrash";
};

// ---- Size and pixels.

struct SetDeviceMetricsOverride {
    static constexpr const char* YONTEM = "Emulation.setDeviceMetricsOverride";
    int64_t width = 0, height = 0;
    double deviceScaleFactor = 1;
    bool mobile = false;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(SetDeviceMetricsOverride, width, height, deviceScaleFactor, mobile)

// The engine's screen, whose device pixel ratio every page is rendered at.
struct GetScreenInfos {
    static constexpr const char* YONTEM = "Emulation.getScreenInfos";
};
inline void to_json(Json& j, const GetScreenInfos&) { j = Json::object(); }
struct EkranBilgisi {
    std::string id;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(EkranBilgisi, id)
struct GetScreenInfosYaniti {
    std::vector<EkranBilgisi> screenInfos;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(GetScreenInfosYaniti, screenInfos)

// The screen's own size is given too, or it drifts with every change of ratio.
struct UpdateScreen {
    static constexpr const char* YONTEM = "Emulation.updateScreen";
    std::string screenId;
    double devicePixelRatio = 1;
    int64_t width = 800, height = 600;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(UpdateScreen, screenId, devicePixelRatio, width, height)

struct StartScreencast {
    static constexpr const char* YONTEM = "Page.startScreencast";
    std::string format = "jpeg";
    int quality = 80;
    int64_t maxWidth = 0, maxHeight = 0;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(StartScreencast, format, quality, maxWidth, maxHeight)

struct ScreencastFrameAck {
    static constexpr const char* YONTEM = "Page.screencastFrameAck";
    int64_t sessionId = 0;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(ScreencastFrameAck, sessionId)

// Read straight from the message's text on the reading thread (see kare.h).
struct ScreencastFrame {
    static constexpr const char* YONTEM = "Page.screencastFrame";
};

// ---- Input.

struct DispatchMouseEvent {
    static constexpr const char* YONTEM = "Input.dispatchMouseEvent";
    std::string type, button = "none";
    double x = 0, y = 0;
    int buttons = 0, modifiers = 0, clickCount = 0;
    double deltaX = 0, deltaY = 0;
};
// Only what the event needs: a click count for presses and releases, deltas for the wheel.
inline void to_json(Json& j, const DispatchMouseEvent& e)
{
    j = Json{{"type", e.type}, {"x", e.x}, {"y", e.y}, {"button", e.button}, {"buttons", e.buttons},
             {"modifiers", e.modifiers}};
    if (e.clickCount > 0)
        j["clickCount"] = e.clickCount;
    if (e.type == "mouseWheel") {
        j["deltaX"] = e.deltaX;
        j["deltaY"] = e.deltaY;
    }
}

struct DispatchKeyEvent {
    static constexpr const char* YONTEM = "Input.dispatchKeyEvent";
    std::string type, key, text;
    int windowsVirtualKeyCode = 0, modifiers = 0;
    bool isSystemKey = false, autoRepeat = false;
};
inline void to_json(Json& j, const DispatchKeyEvent& e)
{
    j = Json{{"type", e.type}, {"modifiers", e.modifiers}};
    if (e.type == "char") {
        j["text"] = e.text;
        j["unmodifiedText"] = e.text;
        return;
    }
    j["windowsVirtualKeyCode"] = e.windowsVirtualKeyCode;
    j["nativeVirtualKeyCode"] = e.windowsVirtualKeyCode;
    j["isSystemKey"] = e.isSystemKey;
    j["autoRepeat"] = e.autoRepeat;
    if (!e.key.empty())
        j["key"] = e.key;
}

// Text as the engine's own input method commits it: it goes to the focused element
// of whichever frame has the focus, in whatever process that frame runs.
struct InsertText {
    static constexpr const char* YONTEM = "Input.insertText";
    std::string text;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(InsertText, text)

// Printing the page as a PDF, handed over as a stream read in pieces on the page's
// own session (IO.read answers base64 when the data is binary), then closed.
struct PrintToPdf {
    static constexpr const char* YONTEM = "Page.printToPDF";
    std::string transferMode = "ReturnAsStream";
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(PrintToPdf, transferMode)
struct PrintToPdfYaniti {
    std::string stream;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(PrintToPdfYaniti, stream)

struct IoRead {
    static constexpr const char* YONTEM = "IO.read";
    std::string handle;
    int64_t size = 0;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(IoRead, handle, size)
struct IoReadYaniti {
    std::string data;
    bool base64Encoded = false, eof = false;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(IoReadYaniti, data, base64Encoded, eof)

struct IoClose {
    static constexpr const char* YONTEM = "IO.close";
    std::string handle;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(IoClose, handle)

// ---- The page's sound. The Media domain reports each media player's events
// (play, pause, end: JSON texts with an "event" field); the WebAudio domain each
// audio context's state ("running", "suspended", "closed").
struct MediaEnable {
    static constexpr const char* YONTEM = "Media.enable";
};
inline void to_json(Json& j, const MediaEnable&) { j = Json::object(); }
struct WebAudioEnable {
    static constexpr const char* YONTEM = "WebAudio.enable";
};
inline void to_json(Json& j, const WebAudioEnable&) { j = Json::object(); }

struct OynaticiOlayi {
    std::string value;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(OynaticiOlayi, value)
struct PlayerEventsAdded {
    static constexpr const char* YONTEM = "Media.playerEventsAdded";
    std::string playerId;
    std::vector<OynaticiOlayi> events;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(PlayerEventsAdded, playerId, events)

struct SesBaglami {
    std::string contextId, contextState;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(SesBaglami, contextId, contextState)
struct ContextCreated {
    static constexpr const char* YONTEM = "WebAudio.contextCreated";
    SesBaglami context;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(ContextCreated, context)
struct ContextChanged {
    static constexpr const char* YONTEM = "WebAudio.contextChanged";
    SesBaglami context;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(ContextChanged, context)
struct ContextWillBeDestroyed {
    static constexpr const char* YONTEM = "WebAudio.contextWillBeDestroyed";
    std::string contextId;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(ContextWillBeDestroyed, contextId)

// Objects of the page's own world held by reference: found by their prototype,
// called on, and let go of by their group.
struct UzakNesne {
    std::string objectId;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(UzakNesne, objectId)
struct NesneYaniti {
    UzakNesne result;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(NesneYaniti, result)
struct EvaluateToObject {
    static constexpr const char* YONTEM = "Runtime.evaluate";
    std::string expression, objectGroup;
    int64_t contextId = 0;   // 0: the top frame's page world
};
inline void to_json(Json& j, const EvaluateToObject& e)
{
    j = Json{{"expression", e.expression}, {"objectGroup", e.objectGroup}, {"returnByValue", false}};
    if (e.contextId)
        j["contextId"] = e.contextId;
}
struct QueryObjects {
    static constexpr const char* YONTEM = "Runtime.queryObjects";
    std::string prototypeObjectId, objectGroup;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(QueryObjects, prototypeObjectId, objectGroup)
struct QueryObjectsYaniti {
    UzakNesne objects;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(QueryObjectsYaniti, objects)
struct CallFunctionOn {
    static constexpr const char* YONTEM = "Runtime.callFunctionOn";
    std::string functionDeclaration, objectId, objectGroup;
    bool userGesture = false;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(CallFunctionOn, functionDeclaration, objectId, objectGroup, userGesture)
struct ReleaseObjectGroup {
    static constexpr const char* YONTEM = "Runtime.releaseObjectGroup";
    std::string objectGroup;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(ReleaseObjectGroup, objectGroup)
// ---- Certificates: with the override on, a request whose server's certificate
// cannot be verified waits for our answer instead of failing.

struct SecurityEnable {
    static constexpr const char* YONTEM = "Security.enable";
};
inline void to_json(Json& j, const SecurityEnable&) { j = Json::object(); }

struct SetOverrideCertificateErrors {
    static constexpr const char* YONTEM = "Security.setOverrideCertificateErrors";
    bool override = true;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(SetOverrideCertificateErrors, override)

// errorType is the network error's name without "net::" (ERR_CERT_AUTHORITY_INVALID).
struct CertificateError {
    static constexpr const char* YONTEM = "Security.certificateError";
    int64_t eventId = -1;
    std::string errorType, requestURL;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(CertificateError, eventId, errorType, requestURL)

// action: "continue" or "cancel" (the request then fails as net::ERR_ABORTED).
struct HandleCertificateError {
    static constexpr const char* YONTEM = "Security.handleCertificateError";
    int64_t eventId = -1;
    std::string action;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(HandleCertificateError, eventId, action)

}  // namespace protokol
