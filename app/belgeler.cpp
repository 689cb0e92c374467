// Korva's two documents, carried as text: the quick-access start page that every
// new tab and the Home button show, and the dark theme stylesheet that start-up
// hands to the widget runtime. Both are plain ASCII on one line; nothing builds,
// parses or changes them at run time. Each string below is one rule or one card,
// so that the documents can be read and compared rule by rule.
#include "korva.h"

// The start page: ten style rules, a heading, eight cards and a footer. Its title
// keeps the caption of a start-page tab "Hizli Erisim": without one the engine
// would name the page after its address ("about:blank").
const char HIZLI_ERISIM[] =
    "<!DOCTYPE html><html><head><meta charset='utf-8'><title>Hizli Erisim</title><style>"
    "*{margin:0;padding:0;box-sizing:border-box}"
    "body{background:#1e1e2e;font-family:system-ui,-apple-system,sans-serif;display:flex;"
    "flex-direction:column;align-items:center;padding:80px 40px;min-height:100vh}"
    "h1{color:#cdd6f4;font-size:42px;font-weight:200;margin-bottom:8px;letter-spacing:6px}"
    "p.sub{color:#6c7086;font-size:14px;margin-bottom:48px}"
    ".grid{display:grid;grid-template-columns:repeat(4,1fr);gap:16px;max-width:720px;width:100%}"
    ".card{background:#313244;border-radius:16px;padding:28px 16px;text-align:center;"
    "cursor:pointer;transition:all .2s ease;text-decoration:none;display:flex;"
    "flex-direction:column;align-items:center;gap:12px;border:1px solid transparent}"
    ".card:hover{background:#45475a;transform:translateY(-4px);border-color:#585b70;"
    "box-shadow:0 8px 24px rgba(0,0,0,.3)}"
    ".icon{width:52px;height:52px;border-radius:14px;display:flex;align-items:center;"
    "justify-content:center;font-size:24px;color:#fff;font-weight:bold}"
    ".card span{color:#cdd6f4;font-size:12px;font-weight:500}"
    "p.ft{margin-top:60px;color:#45475a;font-size:11px}"
    "</style></head><body>"
    "<h1>KORVA</h1><p class='sub'>Hizli Erisim</p>"
    "<div class='grid'>"
    "<a class='card' href='https://www.google.com/'><div class='icon' style='background:#4285f4'>G</div><span>Google</span></a>"
    "<a class='card' href='https://www.youtube.com/'><div class='icon' style='background:#ff0000'>Y</div><span>YouTube</span></a>"
    "<a class='card' href='https://github.com/'><div class='icon' style='background:#8b5cf6'>H</div><span>GitHub</span></a>"
    "<a class='card' href='https://x.com/'><div class='icon' style='background:#1d9bf0'>X</div><span>X</span></a>"
    "<a class='card' href='https://www.wikipedia.org/'><div class='icon' style='background:#636978'>W</div><span>Wikipedia</span></a>"
    "<a class='card' href='https://www.reddit.com/'><div class='icon' style='background:#ff4500'>R</div><span>Reddit</span></a>"
    "<a class='card' href='https://telmurak.org/'><div class='icon' style='background:#f38ba8'>T</div><span>Telmurak</span></a>"
    "<a class='card' href='https://mail.google.com/'><div class='icon' style='background:#ea4335'>M</div><span>Gmail</span></a>"
    "</div>"
    "<p class='ft'>Telmurak Programlama Dili ile gelistirilmistir</p>"
    "</body></html>";

// The dark theme: 23 rules separated by one space each. The widget runtime on this
// platform accepts the sheet and paints with its own fixed colours, three of
// which equal the theme's background, entry surface and text.
const char KOYU_TEMA[] =
    "window{background:#1e1e2e} "
    ".sidebar{background:#11111b;padding:8px 0} "
    ".sidebar button{background:transparent;border:none;color:#6c7086;min-width:42px;"
    "min-height:42px;border-radius:10px;margin:2px 3px;padding:0;font-size:18px} "
    ".sidebar button:hover{background:#313244;color:#cdd6f4} "
    ".toolbar{background:#181825;padding:4px 8px;border-bottom:1px solid #313244} "
    ".toolbar button{background:transparent;color:#bac2de;border:none;border-radius:8px;"
    "padding:4px 8px;min-height:30px;min-width:30px;font-size:15px} "
    ".toolbar button:hover{background:#313244;color:#cdd6f4} "
    ".adres-cubugu{background:#313244;color:#cdd6f4;border:2px solid transparent;"
    "border-radius:20px;padding:4px 16px;min-height:32px;font-size:13px} "
    ".adres-cubugu:focus{border-color:#89b4fa;background:#1e1e2e} "
    "notebook header{background:#11111b;border:none} "
    "notebook header tabs{background:transparent} "
    "notebook tab{background:transparent;color:#6c7086;padding:4px 2px;border:none;"
    "min-height:28px} "
    "notebook tab:checked{background:#1e1e2e;color:#cdd6f4;border-radius:8px 8px 0 0} "
    "notebook tab:hover:not(:checked){background:#181825;color:#a6adc8} "
    ".sekme-kapat{background:transparent;border:none;border-radius:50%;min-width:18px;"
    "min-height:18px;padding:0;color:#6c7086} "
    ".sekme-kapat:hover{background:#f38ba8;color:#1e1e2e} "
    ".kenar-panel{background:#181825;border-right:1px solid #313244} "
    ".kenar-panel-baslik{color:#cdd6f4;font-size:14px;font-weight:bold;padding:12px 16px} "
    ".statusbar{background:#11111b;padding:2px 12px;border-top:1px solid #313244} "
    ".statusbar label{color:#6c7086;font-size:11px} "
    "progressbar{min-height:3px} "
    "progressbar trough{min-height:3px;background:transparent} "
    "progressbar progress{min-height:3px;background:#89b4fa;border-radius:0}";
