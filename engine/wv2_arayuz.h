// Our own declarations of the web engine's binary interface: the loader library's
// exports, the COM interfaces the browser uses, their interface identifiers and the
// enums they take. The web view runtime and both engine libraries (the stand-in and
// the one over headless Chromium) include this header and share nothing else, so it
// is header-only: identifiers are constexpr and need no definition elsewhere.
//
// These declarations must match the real engine slot for slot, because on Windows
// the same code calls the real loader. Rules that keep g++'s vtables COM-shaped:
// single inheritance from IUnknown, no virtual destructor, no overloaded method
// names, and methods in exactly the order of the engine's tables (which is not
// always get before put). BOOL is a 4-byte int and every enum is 32 bits.
//
// Each interface identifier is available both as __uuidof(Interface), for
// ComPtr::As and QueryInterface, and as the constant IID_Interface.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <oaidl.h>
#include <eventtoken.h>
#include <stdint.h>

// Declares an interface's name and its identifier.
#define WV2_ARAYUZ(ad, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8)        \
    struct ad;                                                           \
    __CRT_UUID_DECL(ad, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8)       \
    inline constexpr IID IID_##ad = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}};

WV2_ARAYUZ(ICoreWebView2Environment, 0xb96d755e, 0x0319, 0x4e92, 0xa2, 0x96, 0x23, 0x43, 0x6f, 0x46, 0xa1, 0xfc)
WV2_ARAYUZ(ICoreWebView2Controller, 0x4d00c0d1, 0x9434, 0x4eb6, 0x80, 0x78, 0x86, 0x97, 0xa5, 0x60, 0x33, 0x4f)
WV2_ARAYUZ(ICoreWebView2, 0x76eceacb, 0x0462, 0x4d94, 0xac, 0x83, 0x42, 0x3a, 0x67, 0x93, 0x77, 0x5e)
WV2_ARAYUZ(ICoreWebView2Settings, 0xe562e4f0, 0xd7fa, 0x43ac, 0x8d, 0x71, 0xc0, 0x51, 0x50, 0x49, 0x9f, 0x00)
WV2_ARAYUZ(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler, 0x4e8a3389, 0xc9d8, 0x4bd2, 0xb6, 0xb5, 0x12, 0x4f, 0xee, 0x6c, 0xc1, 0x4d)
WV2_ARAYUZ(ICoreWebView2CreateCoreWebView2ControllerCompletedHandler, 0x6c4819f3, 0xc9b7, 0x4260, 0x81, 0x27, 0xc9, 0xf5, 0xbd, 0xe7, 0xf6, 0x8c)
WV2_ARAYUZ(ICoreWebView2ExecuteScriptCompletedHandler, 0x49511172, 0xcc67, 0x4bca, 0x99, 0x23, 0x13, 0x71, 0x12, 0xf4, 0xc4, 0xcc)
WV2_ARAYUZ(ICoreWebView2CallDevToolsProtocolMethodCompletedHandler, 0x5c4889f0, 0x5ef6, 0x4c5a, 0x95, 0x2c, 0xd8, 0xf1, 0xb9, 0x2d, 0x05, 0x74)
WV2_ARAYUZ(ICoreWebView2DocumentTitleChangedEventHandler, 0xf5f2b923, 0x953e, 0x4042, 0x9f, 0x95, 0xf3, 0xa1, 0x18, 0xe1, 0xaf, 0xd4)
WV2_ARAYUZ(ICoreWebView2SourceChangedEventHandler, 0x3c067f9f, 0x5388, 0x4772, 0x8b, 0x48, 0x79, 0xf7, 0xef, 0x1a, 0xb3, 0x7c)
WV2_ARAYUZ(ICoreWebView2SourceChangedEventArgs, 0x31e0e545, 0x1dba, 0x4266, 0x89, 0x14, 0xf6, 0x38, 0x48, 0xa1, 0xf7, 0xd7)
WV2_ARAYUZ(ICoreWebView2NavigationCompletedEventHandler, 0xd33a35bf, 0x1c49, 0x4f98, 0x93, 0xab, 0x00, 0x6e, 0x05, 0x33, 0xfe, 0x1c)
WV2_ARAYUZ(ICoreWebView2NavigationCompletedEventArgs, 0x30d68b7d, 0x20d9, 0x4752, 0xa9, 0xca, 0xec, 0x84, 0x48, 0xfb, 0xb5, 0xc1)
WV2_ARAYUZ(ICoreWebView2NavigationStartingEventHandler, 0x9adbe429, 0xf36d, 0x432b, 0x9d, 0xdc, 0xf8, 0x88, 0x1f, 0xbd, 0x76, 0xe3)
WV2_ARAYUZ(ICoreWebView2NavigationStartingEventArgs, 0x5b495469, 0xe119, 0x438a, 0x9b, 0x18, 0x76, 0x04, 0xf2, 0x5f, 0x2e, 0x49)
WV2_ARAYUZ(ICoreWebView2ContentLoadingEventHandler, 0x364471e7, 0xf2be, 0x4910, 0xbd, 0xba, 0xd7, 0x20, 0x77, 0xd5, 0x1c, 0x4b)
WV2_ARAYUZ(ICoreWebView2HistoryChangedEventHandler, 0xc79a420c, 0xefd9, 0x4058, 0x92, 0x95, 0x3e, 0x8b, 0x4b, 0xca, 0xb6, 0x45)
WV2_ARAYUZ(ICoreWebView2NewWindowRequestedEventHandler, 0xd4c185fe, 0xc81c, 0x4989, 0x97, 0xaf, 0x2d, 0x3f, 0xa7, 0xab, 0x56, 0x51)
WV2_ARAYUZ(ICoreWebView2NewWindowRequestedEventArgs, 0x34acb11c, 0xfc37, 0x4418, 0x91, 0x32, 0xf9, 0xc2, 0x1d, 0x1e, 0xaf, 0xb9)
WV2_ARAYUZ(ICoreWebView2ProcessFailedEventHandler, 0x79e0aea4, 0x990b, 0x42d9, 0xaa, 0x1d, 0x0f, 0xcc, 0x2e, 0x5b, 0xc7, 0xf1)
WV2_ARAYUZ(ICoreWebView2ProcessFailedEventArgs, 0x8155a9a4, 0x1474, 0x4a86, 0x8c, 0xae, 0x15, 0x1b, 0x0f, 0xa6, 0xb8, 0xca)
WV2_ARAYUZ(ICoreWebView2ZoomFactorChangedEventHandler, 0xb52d71d6, 0xc4df, 0x4543, 0xa9, 0x0c, 0x64, 0xa3, 0xe6, 0x0f, 0x38, 0xcb)
WV2_ARAYUZ(ICoreWebView2AcceleratorKeyPressedEventHandler, 0xb29c7e28, 0xfa79, 0x41a8, 0x8e, 0x44, 0x65, 0x81, 0x1c, 0x76, 0xdc, 0xb2)
WV2_ARAYUZ(ICoreWebView2AcceleratorKeyPressedEventArgs, 0x9f760f8a, 0xfb79, 0x42be, 0x99, 0x90, 0x7b, 0x56, 0x90, 0x0f, 0xa9, 0xc7)
WV2_ARAYUZ(ICoreWebView2WindowCloseRequestedEventHandler, 0x5c19e9e0, 0x092f, 0x486b, 0xaf, 0xfa, 0xca, 0x82, 0x31, 0x91, 0x30, 0x39)
WV2_ARAYUZ(ICoreWebView2Deferral, 0xc10e7f7b, 0xb585, 0x46f0, 0xa6, 0x23, 0x8b, 0xef, 0xbf, 0x3e, 0x4e, 0xe0)
WV2_ARAYUZ(ICoreWebView2_12, 0x35d69927, 0xbcfa, 0x4566, 0x93, 0x49, 0x6b, 0x3e, 0x0d, 0x15, 0x4c, 0xac)
WV2_ARAYUZ(ICoreWebView2ContainsFullScreenElementChangedEventHandler, 0xe45d98b1, 0xafef, 0x45be, 0x8b, 0xaf, 0x6c, 0x77, 0x28, 0x86, 0x7f, 0x73)
WV2_ARAYUZ(ICoreWebView2StatusBarTextChangedEventHandler, 0xa5e3b0d0, 0x10df, 0x4156, 0xbf, 0xad, 0x3b, 0x43, 0x86, 0x7a, 0xca, 0xc6)
WV2_ARAYUZ(ICoreWebView2_4, 0x20d02d59, 0x6df2, 0x42dc, 0xbd, 0x06, 0xf9, 0x8a, 0x69, 0x4b, 0x13, 0x02)
WV2_ARAYUZ(ICoreWebView2DownloadStartingEventHandler, 0xefedc989, 0xc396, 0x41ca, 0x83, 0xf7, 0x07, 0xf8, 0x45, 0xa5, 0x57, 0x24)
WV2_ARAYUZ(ICoreWebView2DownloadStartingEventArgs, 0xe99bbe21, 0x43e9, 0x4544, 0xa7, 0x32, 0x28, 0x27, 0x64, 0xea, 0xfa, 0x60)
WV2_ARAYUZ(ICoreWebView2DownloadOperation, 0x3d6b6cf2, 0xafe1, 0x44c7, 0xa9, 0x95, 0xc6, 0x51, 0x17, 0x71, 0x43, 0x36)
WV2_ARAYUZ(ICoreWebView2BytesReceivedChangedEventHandler, 0x828e8ab6, 0xd94c, 0x4264, 0x9c, 0xef, 0x52, 0x17, 0x17, 0x0d, 0x62, 0x51)
WV2_ARAYUZ(ICoreWebView2EstimatedEndTimeChangedEventHandler, 0x28f0d425, 0x93fe, 0x4e63, 0x9f, 0x8d, 0x2a, 0xee, 0xc6, 0xd3, 0xba, 0x1e)
WV2_ARAYUZ(ICoreWebView2StateChangedEventHandler, 0x81336594, 0x7ede, 0x4ba9, 0xbf, 0x71, 0xac, 0xf0, 0xa9, 0x5b, 0x58, 0xdd)
WV2_ARAYUZ(ICoreWebView2_7, 0x79c24d83, 0x09a3, 0x45ae, 0x94, 0x18, 0x48, 0x7f, 0x32, 0xa5, 0x87, 0x40)
WV2_ARAYUZ(ICoreWebView2PrintSettings, 0x377f3721, 0xc74e, 0x48ca, 0x8d, 0xb1, 0xdf, 0x68, 0xe5, 0x1d, 0x60, 0xe2)
WV2_ARAYUZ(ICoreWebView2PrintToPdfCompletedHandler, 0xccf1ef04, 0xfd8e, 0x4d5f, 0xb2, 0xde, 0x09, 0x83, 0xe4, 0x1b, 0x8c, 0x36)
WV2_ARAYUZ(ICoreWebView2PermissionRequestedEventHandler, 0x15e1c6a3, 0xc72a, 0x4df3, 0x91, 0xd7, 0xd0, 0x97, 0xfb, 0xec, 0x6b, 0xfd)
WV2_ARAYUZ(ICoreWebView2PermissionRequestedEventArgs, 0x973ae2ef, 0xff18, 0x4894, 0x8f, 0xb2, 0x3c, 0x75, 0x8f, 0x04, 0x68, 0x10)
WV2_ARAYUZ(ICoreWebView2_5, 0xbedb11b8, 0xd63c, 0x11eb, 0xb8, 0xbc, 0x02, 0x42, 0xac, 0x13, 0x00, 0x03)
WV2_ARAYUZ(ICoreWebView2_6, 0x499aadac, 0xd92c, 0x4589, 0x8a, 0x75, 0x11, 0x1b, 0xfc, 0x16, 0x77, 0x95)
WV2_ARAYUZ(ICoreWebView2_8, 0xe9632730, 0x6e1e, 0x43ab, 0xb7, 0xb8, 0x7b, 0x2c, 0x9e, 0x62, 0xe0, 0x94)
WV2_ARAYUZ(ICoreWebView2IsMutedChangedEventHandler, 0x57d90347, 0xcd0e, 0x4952, 0xa4, 0xa2, 0x74, 0x83, 0xa2, 0x75, 0x6f, 0x08)
WV2_ARAYUZ(ICoreWebView2IsDocumentPlayingAudioChangedEventHandler, 0x5def109a, 0x2f4b, 0x49fa, 0xb7, 0xf6, 0x11, 0xc3, 0x9e, 0x51, 0x33, 0x28)
WV2_ARAYUZ(ICoreWebView2_13, 0xf75f09a8, 0x667e, 0x4983, 0x88, 0xd6, 0xc8, 0x77, 0x3f, 0x31, 0x5e, 0x84)
WV2_ARAYUZ(ICoreWebView2_14, 0x6daa4f10, 0x4a90, 0x4753, 0x88, 0x98, 0x77, 0xc5, 0xdf, 0x53, 0x41, 0x65)
WV2_ARAYUZ(ICoreWebView2ServerCertificateErrorDetectedEventHandler, 0x969b3a26, 0xd85e, 0x4795, 0x81, 0x99, 0xfe, 0xf5, 0x73, 0x44, 0xda, 0x22)
WV2_ARAYUZ(ICoreWebView2ServerCertificateErrorDetectedEventArgs, 0x012193ed, 0x7c13, 0x48ff, 0x96, 0x9d, 0xa8, 0x4c, 0x1f, 0x43, 0x2a, 0x14)
WV2_ARAYUZ(ICoreWebView2ClearServerCertificateErrorActionsCompletedHandler, 0x3b40aac6, 0xacfe, 0x4ffd, 0x82, 0x11, 0xf6, 0x07, 0xb9, 0x6e, 0x2d, 0x5b)
WV2_ARAYUZ(ICoreWebView2Certificate, 0xc5fb2fce, 0x1cac, 0x4aee, 0x9c, 0x79, 0x5e, 0xd0, 0x36, 0x2e, 0xaa, 0xe0)
WV2_ARAYUZ(ICoreWebView2Controller2, 0xc979903e, 0xd4ca, 0x4228, 0x92, 0xeb, 0x47, 0xee, 0x3f, 0xa9, 0x6e, 0xab)
WV2_ARAYUZ(ICoreWebView2Controller3, 0xf9614724, 0x5d2b, 0x41dc, 0xae, 0xf7, 0x73, 0xd6, 0x2b, 0x51, 0x54, 0x3b)
WV2_ARAYUZ(ICoreWebView2RasterizationScaleChangedEventHandler, 0x9c98c8b1, 0xac53, 0x427e, 0xa3, 0x45, 0x30, 0x49, 0xb5, 0x52, 0x4b, 0xbe)
WV2_ARAYUZ(ICoreWebView2EnvironmentOptions, 0x2fde08a8, 0x1e9a, 0x4766, 0x8c, 0x05, 0x95, 0xa9, 0xce, 0xb9, 0xd1, 0xc5)

// The result of every call on a controller or view after Close:
// HRESULT_FROM_WIN32(ERROR_INVALID_STATE).
inline constexpr HRESULT WV2_E_KAPALI = static_cast<HRESULT>(0x8007139FL);

// ---------------------------------------------------------------------------
// Enums, numbered from 0 in the engine's order.

typedef enum COREWEBVIEW2_WEB_ERROR_STATUS {
    COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN = 0,
    COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_COMMON_NAME_IS_INCORRECT,
    COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_EXPIRED,
    COREWEBVIEW2_WEB_ERROR_STATUS_CLIENT_CERTIFICATE_CONTAINS_ERRORS,
    COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_REVOKED,
    COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_IS_INVALID,
    COREWEBVIEW2_WEB_ERROR_STATUS_SERVER_UNREACHABLE,
    COREWEBVIEW2_WEB_ERROR_STATUS_TIMEOUT,
    COREWEBVIEW2_WEB_ERROR_STATUS_ERROR_HTTP_INVALID_SERVER_RESPONSE,
    COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_ABORTED,
    COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_RESET,
    COREWEBVIEW2_WEB_ERROR_STATUS_DISCONNECTED,
    COREWEBVIEW2_WEB_ERROR_STATUS_CANNOT_CONNECT,
    COREWEBVIEW2_WEB_ERROR_STATUS_HOST_NAME_NOT_RESOLVED,
    COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED,
    COREWEBVIEW2_WEB_ERROR_STATUS_REDIRECT_FAILED,
    COREWEBVIEW2_WEB_ERROR_STATUS_UNEXPECTED_ERROR,
    COREWEBVIEW2_WEB_ERROR_STATUS_VALID_AUTHENTICATION_CREDENTIALS_REQUIRED,
    COREWEBVIEW2_WEB_ERROR_STATUS_VALID_PROXY_AUTHENTICATION_REQUIRED,
} COREWEBVIEW2_WEB_ERROR_STATUS;

// What a page asks permission for, and the host's answer.
typedef enum COREWEBVIEW2_PERMISSION_KIND {
    COREWEBVIEW2_PERMISSION_KIND_UNKNOWN_PERMISSION = 0,
    COREWEBVIEW2_PERMISSION_KIND_MICROPHONE,
    COREWEBVIEW2_PERMISSION_KIND_CAMERA,
    COREWEBVIEW2_PERMISSION_KIND_GEOLOCATION,
    COREWEBVIEW2_PERMISSION_KIND_NOTIFICATIONS,
    COREWEBVIEW2_PERMISSION_KIND_OTHER_SENSORS,
    COREWEBVIEW2_PERMISSION_KIND_CLIPBOARD_READ,
} COREWEBVIEW2_PERMISSION_KIND;

typedef enum COREWEBVIEW2_PERMISSION_STATE {
    COREWEBVIEW2_PERMISSION_STATE_DEFAULT = 0,
    COREWEBVIEW2_PERMISSION_STATE_ALLOW,
    COREWEBVIEW2_PERMISSION_STATE_DENY,
} COREWEBVIEW2_PERMISSION_STATE;
// What a host decides about a server's certificate that cannot be verified.
typedef enum COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION {
    COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_ALWAYS_ALLOW = 0,
    COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_CANCEL,
    COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_DEFAULT,
} COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION;

typedef enum COREWEBVIEW2_PROCESS_FAILED_KIND {
    COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED = 0,
    COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_EXITED,
    COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_UNRESPONSIVE,
    COREWEBVIEW2_PROCESS_FAILED_KIND_FRAME_RENDER_PROCESS_EXITED,
    COREWEBVIEW2_PROCESS_FAILED_KIND_UTILITY_PROCESS_EXITED,
    COREWEBVIEW2_PROCESS_FAILED_KIND_SANDBOX_HELPER_PROCESS_EXITED,
    COREWEBVIEW2_PROCESS_FAILED_KIND_GPU_PROCESS_EXITED,
    COREWEBVIEW2_PROCESS_FAILED_KIND_PPAPI_PLUGIN_PROCESS_EXITED,
    COREWEBVIEW2_PROCESS_FAILED_KIND_PPAPI_BROKER_PROCESS_EXITED,
    COREWEBVIEW2_PROCESS_FAILED_KIND_UNKNOWN_PROCESS_EXITED,
} COREWEBVIEW2_PROCESS_FAILED_KIND;

// How a controller reads its bounds: in the screen's pixels, or in pixels of the
// rasterization scale (multiplied by it for the screen).
typedef enum COREWEBVIEW2_BOUNDS_MODE {
    COREWEBVIEW2_BOUNDS_MODE_USE_RAW_PIXELS = 0,
    COREWEBVIEW2_BOUNDS_MODE_USE_RASTERIZATION_SCALE,
} COREWEBVIEW2_BOUNDS_MODE;

// A colour passed by value: four bytes in this order.
typedef struct COREWEBVIEW2_COLOR {
    BYTE A;
    BYTE R;
    BYTE G;
    BYTE B;
} COREWEBVIEW2_COLOR;

typedef enum COREWEBVIEW2_MOVE_FOCUS_REASON {
    COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC = 0,
    COREWEBVIEW2_MOVE_FOCUS_REASON_NEXT,
    COREWEBVIEW2_MOVE_FOCUS_REASON_PREVIOUS,
} COREWEBVIEW2_MOVE_FOCUS_REASON;

typedef enum COREWEBVIEW2_KEY_EVENT_KIND {
    COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN = 0,
    COREWEBVIEW2_KEY_EVENT_KIND_KEY_UP,
    COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_DOWN,
    COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_UP,
} COREWEBVIEW2_KEY_EVENT_KIND;

// Parameter types of methods we never call; only their 32-bit width matters here.
typedef enum COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT {
    COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT_PNG = 0,
} COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT;

typedef enum COREWEBVIEW2_WEB_RESOURCE_CONTEXT {
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL = 0,
} COREWEBVIEW2_WEB_RESOURCE_CONTEXT;

// Downloads: the state of one, and why it stopped when it did not complete.
typedef enum COREWEBVIEW2_DOWNLOAD_STATE {
    COREWEBVIEW2_DOWNLOAD_STATE_IN_PROGRESS = 0,
    COREWEBVIEW2_DOWNLOAD_STATE_INTERRUPTED,
    COREWEBVIEW2_DOWNLOAD_STATE_COMPLETED,
} COREWEBVIEW2_DOWNLOAD_STATE;

typedef enum COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON {
    COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_NONE = 0,
    COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_FILE_FAILED,
    COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_FILE_ACCESS_DENIED,
    COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_FILE_NO_SPACE,
    COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_FILE_NAME_TOO_LONG,
    COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_FILE_TOO_LARGE,
    COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_FILE_MALICIOUS,
    COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_FILE_TRANSIENT_ERROR,
    COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_FILE_BLOCKED_BY_POLICY,
    COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_FILE_SECURITY_CHECK_FAILED,
    COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_FILE_TOO_SHORT,
    COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_FILE_HASH_MISMATCH,
    COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_NETWORK_FAILED,
    COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_NETWORK_TIMEOUT,
    COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_NETWORK_DISCONNECTED,
    COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_NETWORK_SERVER_DOWN,
    COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_NETWORK_INVALID_REQUEST,
    COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_SERVER_FAILED,
    COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_SERVER_NO_RANGE,
    COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_SERVER_BAD_CONTENT,
    COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_SERVER_UNAUTHORIZED,
    COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_SERVER_CERTIFICATE_PROBLEM,
    COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_SERVER_FORBIDDEN,
    COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_SERVER_UNEXPECTED_RESPONSE,
    COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_SERVER_CONTENT_LENGTH_MISMATCH,
    COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_SERVER_CROSS_ORIGIN_REDIRECT,
    COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_USER_CANCELED,
    COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_USER_SHUTDOWN,
    COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_USER_PAUSED,
    COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_DOWNLOAD_PROCESS_CRASHED,
} COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON;

// Printing: the page's orientation in print settings.
typedef enum COREWEBVIEW2_PRINT_ORIENTATION {
    COREWEBVIEW2_PRINT_ORIENTATION_PORTRAIT = 0,
    COREWEBVIEW2_PRINT_ORIENTATION_LANDSCAPE,
} COREWEBVIEW2_PRINT_ORIENTATION;

typedef struct COREWEBVIEW2_PHYSICAL_KEY_STATUS {
    UINT32 RepeatCount;
    UINT32 ScanCode;
    BOOL IsExtendedKey;
    BOOL IsMenuKeyDown;
    BOOL WasKeyDown;
    BOOL IsKeyReleased;
} COREWEBVIEW2_PHYSICAL_KEY_STATUS;

// ---------------------------------------------------------------------------
// Interfaces that appear only as parameter types and are never called through.

struct ICoreWebView2WebResourceResponse : public IUnknown {};
struct ICoreWebView2NewBrowserVersionAvailableEventHandler : public IUnknown {};
struct ICoreWebView2MoveFocusRequestedEventHandler : public IUnknown {};
struct ICoreWebView2FocusChangedEventHandler : public IUnknown {};
struct ICoreWebView2ScriptDialogOpeningEventHandler : public IUnknown {};
struct ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler : public IUnknown {};
struct ICoreWebView2CapturePreviewCompletedHandler : public IUnknown {};
struct ICoreWebView2WebMessageReceivedEventHandler : public IUnknown {};
struct ICoreWebView2DevToolsProtocolEventReceiver : public IUnknown {};
struct ICoreWebView2WebResourceRequestedEventHandler : public IUnknown {};
struct ICoreWebView2HttpRequestHeaders : public IUnknown {};
struct ICoreWebView2WindowFeatures : public IUnknown {};

// ContentLoading's handler: one Invoke at slot 3 like every handler. Its argument
// object is treated as a plain IUnknown, since we read nothing from it.
struct ICoreWebView2ContentLoadingEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, IUnknown* args) = 0;
};

// ---------------------------------------------------------------------------
// Event arguments, settings, options and the deferral.

struct ICoreWebView2Deferral : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Complete() = 0;
};

// How a page is printed (sizes in inches). Korva passes none (a null pointer means
// the engine's defaults), so neither engine implements it; declared for the slot.
struct ICoreWebView2PrintSettings : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Orientation(COREWEBVIEW2_PRINT_ORIENTATION* orientation) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Orientation(COREWEBVIEW2_PRINT_ORIENTATION orientation) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ScaleFactor(double* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ScaleFactor(double value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PageWidth(double* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_PageWidth(double value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PageHeight(double* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_PageHeight(double value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_MarginTop(double* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_MarginTop(double value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_MarginBottom(double* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_MarginBottom(double value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_MarginLeft(double* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_MarginLeft(double value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_MarginRight(double* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_MarginRight(double value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ShouldPrintBackgrounds(BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ShouldPrintBackgrounds(BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ShouldPrintSelectionOnly(BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ShouldPrintSelectionOnly(BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ShouldPrintHeaderAndFooter(BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ShouldPrintHeaderAndFooter(BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_HeaderTitle(LPWSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_HeaderTitle(LPCWSTR value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_FooterUri(LPWSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_FooterUri(LPCWSTR value) = 0;
};

// The end of PrintToPdf: `error_code` for the call, `is_successful` whether the
// file was written.
struct ICoreWebView2PrintToPdfCompletedHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT error_code, BOOL is_successful) = 0;
};

struct ICoreWebView2Settings : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_IsScriptEnabled(BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsScriptEnabled(BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsWebMessageEnabled(BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsWebMessageEnabled(BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AreDefaultScriptDialogsEnabled(BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_AreDefaultScriptDialogsEnabled(BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsStatusBarEnabled(BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsStatusBarEnabled(BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AreDevToolsEnabled(BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_AreDevToolsEnabled(BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AreDefaultContextMenusEnabled(BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_AreDefaultContextMenusEnabled(BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AreHostObjectsAllowed(BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_AreHostObjectsAllowed(BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsZoomControlEnabled(BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsZoomControlEnabled(BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsBuiltInErrorPageEnabled(BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsBuiltInErrorPageEnabled(BOOL value) = 0;
};

struct ICoreWebView2EnvironmentOptions : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_AdditionalBrowserArguments(LPWSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_AdditionalBrowserArguments(LPCWSTR value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Language(LPWSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Language(LPCWSTR value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_TargetCompatibleBrowserVersion(LPWSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_TargetCompatibleBrowserVersion(LPCWSTR value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AllowSingleSignOnUsingOSPrimaryAccount(BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_AllowSingleSignOnUsingOSPrimaryAccount(BOOL value) = 0;
};

struct ICoreWebView2NavigationCompletedEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_IsSuccess(BOOL* success) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_WebErrorStatus(COREWEBVIEW2_WEB_ERROR_STATUS* status) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* id) = 0;
};

struct ICoreWebView2SourceChangedEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_IsNewDocument(BOOL* new_document) = 0;
};

struct ICoreWebView2NavigationStartingEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* user_initiated) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsRedirected(BOOL* redirected) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_RequestHeaders(ICoreWebView2HttpRequestHeaders** headers) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Cancel(BOOL* cancel) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Cancel(BOOL cancel) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* id) = 0;
};

struct ICoreWebView2NewWindowRequestedEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_NewWindow(ICoreWebView2* new_window) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_NewWindow(ICoreWebView2** new_window) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Handled(BOOL handled) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Handled(BOOL* handled) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* user_initiated) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deferral) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_WindowFeatures(ICoreWebView2WindowFeatures** features) = 0;
};

struct ICoreWebView2PermissionRequestedEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PermissionKind(COREWEBVIEW2_PERMISSION_KIND* kind) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* user_initiated) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_State(COREWEBVIEW2_PERMISSION_STATE* state) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_State(COREWEBVIEW2_PERMISSION_STATE state) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deferral) = 0;
};

struct ICoreWebView2ProcessFailedEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_ProcessFailedKind(COREWEBVIEW2_PROCESS_FAILED_KIND* kind) = 0;
};

struct ICoreWebView2AcceleratorKeyPressedEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_KeyEventKind(COREWEBVIEW2_KEY_EVENT_KIND* kind) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_VirtualKey(UINT* key) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_KeyEventLParam(INT* lparam) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PhysicalKeyStatus(COREWEBVIEW2_PHYSICAL_KEY_STATUS* status) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Handled(BOOL* handled) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Handled(BOOL handled) = 0;
};

// A download: what the page asked for, how far it got, and the host's means to stop
// it. The three change handlers take the operation and an argument that carries
// nothing.
struct ICoreWebView2DownloadOperation;
struct ICoreWebView2BytesReceivedChangedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2DownloadOperation* sender, IUnknown* args) = 0;
};
struct ICoreWebView2EstimatedEndTimeChangedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2DownloadOperation* sender, IUnknown* args) = 0;
};
struct ICoreWebView2StateChangedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2DownloadOperation* sender, IUnknown* args) = 0;
};

struct ICoreWebView2DownloadOperation : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE add_BytesReceivedChanged(
        ICoreWebView2BytesReceivedChangedEventHandler* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_BytesReceivedChanged(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_EstimatedEndTimeChanged(
        ICoreWebView2EstimatedEndTimeChangedEventHandler* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_EstimatedEndTimeChanged(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_StateChanged(
        ICoreWebView2StateChangedEventHandler* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_StateChanged(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ContentDisposition(LPWSTR* content_disposition) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_MimeType(LPWSTR* mime_type) = 0;
    // -1 when the size is not known.
    virtual HRESULT STDMETHODCALLTYPE get_TotalBytesToReceive(INT64* total) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_BytesReceived(INT64* received) = 0;
    // ISO 8601 text.
    virtual HRESULT STDMETHODCALLTYPE get_EstimatedEndTime(LPWSTR* end_time) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ResultFilePath(LPWSTR* path) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_State(COREWEBVIEW2_DOWNLOAD_STATE* state) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_InterruptReason(COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON* reason) = 0;
    virtual HRESULT STDMETHODCALLTYPE Cancel() = 0;
    virtual HRESULT STDMETHODCALLTYPE Pause() = 0;
    virtual HRESULT STDMETHODCALLTYPE Resume() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CanResume(BOOL* can_resume) = 0;
};

// What the host may decide as a download starts: Cancel stops it before anything is
// written, Handled hides the engine's own download interface, ResultFilePath is the
// full path the file will have (the engine proposes one in the user's Downloads
// folder).
struct ICoreWebView2DownloadStartingEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_DownloadOperation(ICoreWebView2DownloadOperation** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Cancel(BOOL* cancel) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Cancel(BOOL cancel) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ResultFilePath(LPWSTR* path) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ResultFilePath(LPCWSTR path) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Handled(BOOL* handled) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Handled(BOOL handled) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deferral) = 0;
};

// ---------------------------------------------------------------------------
// Handlers: implemented by the host, one Invoke at slot 3.

struct ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT error_code, ICoreWebView2Environment* result) = 0;
};
struct ICoreWebView2CreateCoreWebView2ControllerCompletedHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT error_code, ICoreWebView2Controller* result) = 0;
};
struct ICoreWebView2ExecuteScriptCompletedHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT error_code, LPCWSTR result_as_json) = 0;
};
// A protocol call's answer: its result object as JSON text on success; a failure
// code and the engine's error object (or null) otherwise.
struct ICoreWebView2CallDevToolsProtocolMethodCompletedHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT error_code, LPCWSTR return_object_as_json) = 0;
};
struct ICoreWebView2DocumentTitleChangedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, IUnknown* args) = 0;
};
struct ICoreWebView2SourceChangedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2SourceChangedEventArgs* args) = 0;
};
struct ICoreWebView2NavigationCompletedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2NavigationCompletedEventArgs* args) = 0;
};
struct ICoreWebView2NavigationStartingEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2NavigationStartingEventArgs* args) = 0;
};
struct ICoreWebView2HistoryChangedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, IUnknown* args) = 0;
};
struct ICoreWebView2PermissionRequestedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2PermissionRequestedEventArgs* args) = 0;
};
struct ICoreWebView2NewWindowRequestedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2NewWindowRequestedEventArgs* args) = 0;
};
struct ICoreWebView2ProcessFailedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2ProcessFailedEventArgs* args) = 0;
};
struct ICoreWebView2WindowCloseRequestedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, IUnknown* args) = 0;
};
struct ICoreWebView2StatusBarTextChangedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, IUnknown* args) = 0;
};
// An element of the page entered or left full screen; get_ContainsFullScreenElement says which.
struct ICoreWebView2ContainsFullScreenElementChangedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, IUnknown* args) = 0;
};
struct ICoreWebView2DownloadStartingEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2DownloadStartingEventArgs* args) = 0;
};
struct ICoreWebView2ZoomFactorChangedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2Controller* sender, IUnknown* args) = 0;
};
struct ICoreWebView2RasterizationScaleChangedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2Controller* sender, IUnknown* args) = 0;
};
struct ICoreWebView2AcceleratorKeyPressedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2Controller* sender, ICoreWebView2AcceleratorKeyPressedEventArgs* args) = 0;
};

// ---------------------------------------------------------------------------
// The engine's objects.

struct ICoreWebView2Environment : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CreateCoreWebView2Controller(
        HWND parent_window, ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateWebResourceResponse(
        IStream* content, int status_code, LPCWSTR reason_phrase, LPCWSTR headers,
        ICoreWebView2WebResourceResponse** response) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_BrowserVersionString(LPWSTR* version) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_NewBrowserVersionAvailable(
        ICoreWebView2NewBrowserVersionAvailableEventHandler* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_NewBrowserVersionAvailable(EventRegistrationToken token) = 0;
};

struct ICoreWebView2Controller : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_IsVisible(BOOL* visible) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsVisible(BOOL visible) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Bounds(RECT* bounds) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Bounds(RECT bounds) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ZoomFactor(double* factor) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ZoomFactor(double factor) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_ZoomFactorChanged(
        ICoreWebView2ZoomFactorChangedEventHandler* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_ZoomFactorChanged(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetBoundsAndZoomFactor(RECT bounds, double factor) = 0;
    virtual HRESULT STDMETHODCALLTYPE MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON reason) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_MoveFocusRequested(
        ICoreWebView2MoveFocusRequestedEventHandler* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_MoveFocusRequested(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_GotFocus(
        ICoreWebView2FocusChangedEventHandler* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_GotFocus(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_LostFocus(
        ICoreWebView2FocusChangedEventHandler* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_LostFocus(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_AcceleratorKeyPressed(
        ICoreWebView2AcceleratorKeyPressedEventHandler* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_AcceleratorKeyPressed(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ParentWindow(HWND* parent) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ParentWindow(HWND parent) = 0;
    virtual HRESULT STDMETHODCALLTYPE NotifyParentWindowPositionChanged() = 0;
    virtual HRESULT STDMETHODCALLTYPE Close() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CoreWebView2(ICoreWebView2** view) = 0;
};

struct ICoreWebView2Controller2 : public ICoreWebView2Controller {
    virtual HRESULT STDMETHODCALLTYPE get_DefaultBackgroundColor(COREWEBVIEW2_COLOR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_DefaultBackgroundColor(COREWEBVIEW2_COLOR value) = 0;
};

struct ICoreWebView2Controller3 : public ICoreWebView2Controller2 {
    virtual HRESULT STDMETHODCALLTYPE get_RasterizationScale(double* scale) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_RasterizationScale(double scale) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ShouldDetectMonitorScaleChanges(BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ShouldDetectMonitorScaleChanges(BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_RasterizationScaleChanged(
        ICoreWebView2RasterizationScaleChangedEventHandler* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_RasterizationScaleChanged(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_BoundsMode(COREWEBVIEW2_BOUNDS_MODE* mode) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_BoundsMode(COREWEBVIEW2_BOUNDS_MODE mode) = 0;
};

struct ICoreWebView2 : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Settings(ICoreWebView2Settings** settings) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* uri) = 0;
    virtual HRESULT STDMETHODCALLTYPE Navigate(LPCWSTR uri) = 0;
    virtual HRESULT STDMETHODCALLTYPE NavigateToString(LPCWSTR html_content) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_NavigationStarting(
        ICoreWebView2NavigationStartingEventHandler* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_NavigationStarting(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_ContentLoading(
        ICoreWebView2ContentLoadingEventHandler* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_ContentLoading(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_SourceChanged(
        ICoreWebView2SourceChangedEventHandler* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_SourceChanged(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_HistoryChanged(
        ICoreWebView2HistoryChangedEventHandler* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_HistoryChanged(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_NavigationCompleted(
        ICoreWebView2NavigationCompletedEventHandler* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_NavigationCompleted(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_FrameNavigationStarting(
        ICoreWebView2NavigationStartingEventHandler* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_FrameNavigationStarting(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_FrameNavigationCompleted(
        ICoreWebView2NavigationCompletedEventHandler* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_FrameNavigationCompleted(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_ScriptDialogOpening(
        ICoreWebView2ScriptDialogOpeningEventHandler* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_ScriptDialogOpening(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_PermissionRequested(
        ICoreWebView2PermissionRequestedEventHandler* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_PermissionRequested(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_ProcessFailed(
        ICoreWebView2ProcessFailedEventHandler* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_ProcessFailed(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddScriptToExecuteOnDocumentCreated(
        LPCWSTR script, ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveScriptToExecuteOnDocumentCreated(LPCWSTR id) = 0;
    virtual HRESULT STDMETHODCALLTYPE ExecuteScript(
        LPCWSTR script, ICoreWebView2ExecuteScriptCompletedHandler* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE CapturePreview(
        COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT format, IStream* image,
        ICoreWebView2CapturePreviewCompletedHandler* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reload() = 0;
    virtual HRESULT STDMETHODCALLTYPE PostWebMessageAsJson(LPCWSTR message_as_json) = 0;
    virtual HRESULT STDMETHODCALLTYPE PostWebMessageAsString(LPCWSTR message_as_string) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_WebMessageReceived(
        ICoreWebView2WebMessageReceivedEventHandler* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_WebMessageReceived(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE CallDevToolsProtocolMethod(
        LPCWSTR method_name, LPCWSTR parameters_as_json,
        ICoreWebView2CallDevToolsProtocolMethodCompletedHandler* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_BrowserProcessId(UINT32* process_id) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CanGoBack(BOOL* can_go_back) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CanGoForward(BOOL* can_go_forward) = 0;
    virtual HRESULT STDMETHODCALLTYPE GoBack() = 0;
    virtual HRESULT STDMETHODCALLTYPE GoForward() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDevToolsProtocolEventReceiver(
        LPCWSTR event_name, ICoreWebView2DevToolsProtocolEventReceiver** receiver) = 0;
    virtual HRESULT STDMETHODCALLTYPE Stop() = 0;
    virtual HRESULT STDMETHODCALLTYPE add_NewWindowRequested(
        ICoreWebView2NewWindowRequestedEventHandler* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_NewWindowRequested(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_DocumentTitleChanged(
        ICoreWebView2DocumentTitleChangedEventHandler* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_DocumentTitleChanged(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DocumentTitle(LPWSTR* title) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddHostObjectToScript(LPCWSTR name, VARIANT* object) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveHostObjectFromScript(LPCWSTR name) = 0;
    virtual HRESULT STDMETHODCALLTYPE OpenDevToolsWindow() = 0;
    virtual HRESULT STDMETHODCALLTYPE add_ContainsFullScreenElementChanged(
        ICoreWebView2ContainsFullScreenElementChangedEventHandler* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_ContainsFullScreenElementChanged(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ContainsFullScreenElement(BOOL* contains) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_WebResourceRequested(
        ICoreWebView2WebResourceRequestedEventHandler* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_WebResourceRequested(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddWebResourceRequestedFilter(
        LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveWebResourceRequestedFilter(
        LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_WindowCloseRequested(
        ICoreWebView2WindowCloseRequestedEventHandler* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_WindowCloseRequested(EventRegistrationToken token) = 0;
};

// The later view interfaces: _4 carries the downloads, _8 the sound, _12 the status-bar text (the
// text a browser shows at its bottom edge, such as the address of the link under
// the pointer). Each extends the one before; the versions between, whose methods we
// never call, are declared in flat runs, slot for slot, with parameter types reduced
// to what fixes the calling convention (every pointer argument is a pointer, every
// handler an IUnknown).
struct ICoreWebView2_4 : public ICoreWebView2 {
    // _2, slots 61 to 67
    virtual HRESULT STDMETHODCALLTYPE add_WebResourceResponseReceived(IUnknown* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_WebResourceResponseReceived(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE NavigateWithWebResourceRequest(IUnknown* request) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_DOMContentLoaded(IUnknown* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_DOMContentLoaded(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CookieManager(IUnknown** manager) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Environment(ICoreWebView2Environment** environment) = 0;
    // _3, slots 68 to 72
    virtual HRESULT STDMETHODCALLTYPE TrySuspend(IUnknown* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE Resume() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsSuspended(BOOL* suspended) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetVirtualHostNameToFolderMapping(LPCWSTR host, LPCWSTR folder, INT32 kind) = 0;
    virtual HRESULT STDMETHODCALLTYPE ClearVirtualHostNameToFolderMapping(LPCWSTR host) = 0;
    // _4, slots 73 to 76
    virtual HRESULT STDMETHODCALLTYPE add_FrameCreated(IUnknown* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_FrameCreated(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_DownloadStarting(
        ICoreWebView2DownloadStartingEventHandler* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_DownloadStarting(EventRegistrationToken token) = 0;
};

// _5 and _6 are not used; they are declared for the chain, which QueryInterface
// reaches at every step.
struct ICoreWebView2_5 : public ICoreWebView2_4 {
    // slots 77 and 78
    virtual HRESULT STDMETHODCALLTYPE add_ClientCertificateRequested(IUnknown* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_ClientCertificateRequested(EventRegistrationToken token) = 0;
};

struct ICoreWebView2_6 : public ICoreWebView2_5 {
    // slot 79
    virtual HRESULT STDMETHODCALLTYPE OpenTaskManagerWindow() = 0;
};

// _7 prints the page to a PDF file (slot 80).
struct ICoreWebView2_7 : public ICoreWebView2_6 {
    // Writes the page as a PDF to `result_file_path` (a full path); `print_settings`
    // null means the engine's defaults. The handler hears the end.
    virtual HRESULT STDMETHODCALLTYPE PrintToPdf(LPCWSTR result_file_path,
                                                 ICoreWebView2PrintSettings* print_settings,
                                                 ICoreWebView2PrintToPdfCompletedHandler* handler) = 0;
};

// Both handlers get the view and an argument object with nothing to read: the new
// state is read from the view.
struct ICoreWebView2IsMutedChangedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, IUnknown* args) = 0;
};
struct ICoreWebView2IsDocumentPlayingAudioChangedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, IUnknown* args) = 0;
};

// _8 is the page's sound, slots 81 to 87: whether the document plays audio (still
// true while the view is muted), and the view's mute switch.
struct ICoreWebView2_8 : public ICoreWebView2_7 {
    virtual HRESULT STDMETHODCALLTYPE add_IsMutedChanged(
        ICoreWebView2IsMutedChangedEventHandler* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_IsMutedChanged(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsMuted(BOOL* muted) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsMuted(BOOL muted) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_IsDocumentPlayingAudioChanged(
        ICoreWebView2IsDocumentPlayingAudioChangedEventHandler* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_IsDocumentPlayingAudioChanged(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsDocumentPlayingAudio(BOOL* playing) = 0;
};

struct ICoreWebView2_12 : public ICoreWebView2_8 {
    // _9, slots 88 to 96
    virtual HRESULT STDMETHODCALLTYPE add_IsDefaultDownloadDialogOpenChanged(IUnknown* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_IsDefaultDownloadDialogOpenChanged(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsDefaultDownloadDialogOpen(BOOL* open) = 0;
    virtual HRESULT STDMETHODCALLTYPE OpenDefaultDownloadDialog() = 0;
    virtual HRESULT STDMETHODCALLTYPE CloseDefaultDownloadDialog() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DefaultDownloadDialogCornerAlignment(INT32* alignment) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_DefaultDownloadDialogCornerAlignment(INT32 alignment) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DefaultDownloadDialogMargin(POINT* margin) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_DefaultDownloadDialogMargin(POINT margin) = 0;
    // _10, slots 97 and 98
    virtual HRESULT STDMETHODCALLTYPE add_BasicAuthenticationRequested(IUnknown* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_BasicAuthenticationRequested(EventRegistrationToken token) = 0;
    // _11, slots 99 to 101
    virtual HRESULT STDMETHODCALLTYPE CallDevToolsProtocolMethodForSession(LPCWSTR session, LPCWSTR method,
                                                                            LPCWSTR parameters, IUnknown* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_ContextMenuRequested(IUnknown* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_ContextMenuRequested(EventRegistrationToken token) = 0;
    // _12, slots 102 to 104
    virtual HRESULT STDMETHODCALLTYPE add_StatusBarTextChanged(
        ICoreWebView2StatusBarTextChangedEventHandler* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_StatusBarTextChanged(EventRegistrationToken token) = 0;
    // The text in CoTaskMemAlloc memory; empty when there is none.
    virtual HRESULT STDMETHODCALLTYPE get_StatusBarText(LPWSTR* text) = 0;
};

// _14 reports servers whose certificate cannot be verified (slots 106 to 108);
// _13's profile (slot 105) is not used.
struct ICoreWebView2_14 : public ICoreWebView2_12 {
    // _13, slot 105
    virtual HRESULT STDMETHODCALLTYPE get_Profile(IUnknown** profile) = 0;
    // _14, slots 106 to 108
    virtual HRESULT STDMETHODCALLTYPE add_ServerCertificateErrorDetected(
        ICoreWebView2ServerCertificateErrorDetectedEventHandler* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_ServerCertificateErrorDetected(EventRegistrationToken token) = 0;
    // Forgets every ALWAYS_ALLOW decision; the handler hears when that is done.
    virtual HRESULT STDMETHODCALLTYPE ClearServerCertificateErrorActions(
        ICoreWebView2ClearServerCertificateErrorActionsCompletedHandler* handler) = 0;
};

struct ICoreWebView2Certificate : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Subject(LPWSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Issuer(LPWSTR* value) = 0;
    // Seconds since 1970-01-01 UTC.
    virtual HRESULT STDMETHODCALLTYPE get_ValidFrom(double* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ValidTo(double* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DerEncodedSerialNumber(LPWSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DisplayName(LPWSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE ToPemEncoding(LPWSTR* pem) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PemEncodedIssuerCertificateChain(IUnknown** chain) = 0;
};

struct ICoreWebView2ServerCertificateErrorDetectedEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_ErrorStatus(COREWEBVIEW2_WEB_ERROR_STATUS* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_RequestUri(LPWSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ServerCertificate(ICoreWebView2Certificate** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Action(COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Action(COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deferral) = 0;
};

struct ICoreWebView2ServerCertificateErrorDetectedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender,
                                             ICoreWebView2ServerCertificateErrorDetectedEventArgs* args) = 0;
};

struct ICoreWebView2ClearServerCertificateErrorActionsCompletedHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT error_code) = 0;
};

// ---------------------------------------------------------------------------
// The loader library's exports, found with GetProcAddress by these names. All are
// extern "C" with undecorated names (__stdcall means nothing on x64).

inline constexpr const char WV2_ORTAM_OLUSTUR_SECENEKLI_ADI[] = "CreateCoreWebView2EnvironmentWithOptions";
inline constexpr const char WV2_ORTAM_OLUSTUR_ADI[] = "CreateCoreWebView2Environment";
inline constexpr const char WV2_SURUM_METNI_AL_ADI[] = "GetAvailableCoreWebView2BrowserVersionString";
// Only the stand-in engine has this one: how many controllers it made and has not
// yet seen closed.
inline constexpr const char WV2_ACIK_DENETLEYICI_SAYISI_ADI[] = "StandinOpenControllers";

typedef HRESULT(STDAPICALLTYPE* wv2_ortam_olustur_secenekli_islev)(
    PCWSTR browser_executable_folder, PCWSTR user_data_folder,
    ICoreWebView2EnvironmentOptions* options,
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler);
typedef HRESULT(STDAPICALLTYPE* wv2_ortam_olustur_islev)(
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler);
// The version string is allocated with CoTaskMemAlloc; free it with CoTaskMemFree.
typedef HRESULT(STDAPICALLTYPE* wv2_surum_metni_al_islev)(PCWSTR browser_executable_folder,
                                                           LPWSTR* version);
typedef int64_t (*wv2_acik_denetleyici_sayisi_islev)(void);
