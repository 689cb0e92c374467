#!/usr/bin/env python3
"""Real pages for the tests that run against the real engine.

    sayfa_sunucusu.py COMMAND [ARGS...]

Serves a few pages on 127.0.0.1 (a free port the system picks), runs COMMAND with
KORVA_TEST_SUNUCU=http://127.0.0.1:PORT in its environment, and exits with
COMMAND's exit code. The same pages are served over TLS on a second port with a
certificate no one vouches for (self-signed for "localhost", made with openssl at
start in a folder of the current one, the build folder, and removed at the end):
KORVA_TEST_TLS_SUNUCU=https://127.0.0.1:PORT2. Without openssl that variable is
not set. The server is a thread of this process, so it ends with the
command; it also ends this process after LIFETIME seconds at the latest, so that
nothing of a test run can keep listening.

The pages (titles are what the tests look for):
  /              "Ana Sayfa": a link to /ikinci.html that covers the top left of the
                 page, and a form whose field q is sent to /ara
  /ikinci.html   "Ikinci Sayfa"
  /ara?q=...     "Arama: <q>"
  /baglantilar   "Baglantilar": links to /ara?q=bir, iki and uc, each 400 by 80
                 pixels, at the page's left from 0, 100 and 200 pixels down
  /uzun-baslik   a page whose script makes its title "Uzun baslik " and 16 MB of "a"
  /yonlendir     302 to /ikinci.html
  /yavas?sure=S  "Yavas Sayfa", answered after S seconds (at most 30; SLOW when
                 not given)
  /iz?k=...      "Iz", and k is remembered (a page that must never be fetched)
  /izler         "Izler:" followed by every k remembered so far, space-separated
  /dosya?ad=NAME&boyut=N&hiz=B
                 an attachment named NAME of N bytes (byte i is (i*7+3) mod 256),
                 sent at B bytes a second (0: at once)
  /indir.html?ad=NAME&boyut=N&hiz=B
                 "Indirme Sayfasi": a link with a download attribute to that file
                 (id bag, over the top left), and one to a missing file (id eksik)
  /secim         "Secim Sayfasi": a list of five options (Bir .. Bes) at the top left,
                 300 by 40 pixels from (20, 20); choosing one makes the title
                 "Secim: <option> girdi <input events so far>"
  /ayrilma       "Ayrilma": a page that asks before it is left (beforeunload)
  /sorular       "Sorular": four areas of 400 by 100 pixels one below another, from
                 the top left with 20 pixels between them: confirm() (title "Onay:
                 <answer>"), prompt() (title "Soru: <answer>"), eight alerts in a row
                 (title "Dongu bitti: <count>"), and a file input taking several
                 files (title "Dosya: <name>:<size>,...")
  /metin         "Metin Sayfasi": two paragraphs and a link at fixed places (METIN
                 below), for selecting, copying, the context menu and the pointer
  /odak          "Odak Sayfasi": a form like the main page's whose field has autofocus
  /cerceve       "Cerceve Sayfasi": a frame of another origin (localhost instead of
                 127.0.0.1) at the top left, 400 by 100 pixels, whose password field
                 (300 by 40 from its top left) reports each value it takes as /iz?k=;
                 the top page makes its title "Ust gordu: <text>" when it sees a paste
  /casus         "Casus N [...]": a page that spies on a find in page: it hooks the
                 string and tree-walking functions a search calls, listens for keys
                 and selection changes, checks for user activation and tries to open
                 a window every fifth tick (ticks of 200 ms, N so far); what it saw is
                 listed in the brackets. It shows "elma" three times (one of them it
                 tries to hide from a search) and hides a fourth
  /izin-sahte    "Sahte: soruldu", then "Sahte: <answer>": a page that, as it loads
                 (no user's gesture), asks for notifications with every object's
                 JSON form changed to claim the user's gesture
  /giris         "Giris": a button of 400 by 200 pixels at the top left that opens
                 /giris-penceresi as a popup; a message the page gets makes its
                 title "Giris: <message>"
  /giris-penceresi
                 "Giris Penceresi": a sign-in popup that posts "tamam <its history
                 length>" to its opener (when it has one) and closes itself
  anything else  404, "Bulunamadi" (an attachment too, for /eksik-dosya)
"""
import html
import os
import shutil
import ssl
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

LIFETIME = 840  # below the 900 s ctest gives a test
SLOW = 2.0

ANA = """<!DOCTYPE html><html><head><meta charset="utf-8"><title>Ana Sayfa</title>
<style>body{margin:0;font:16px sans-serif}
#bag{position:absolute;left:0;top:0;width:400px;height:200px;background:#3060c0;color:#fff}
#form{position:absolute;left:0;top:260px}
#alan{width:400px;height:40px;font-size:20px}</style></head><body>
<a id="bag" href="/ikinci.html">Ikinci sayfaya git</a>
<form id="form" action="/ara" method="get"><input id="alan" name="q"></form>
</body></html>"""

# Places in CSS pixels: the first paragraph's line at top 0, the second paragraph
# (two sentences on one line) at top 100, the link at top 200, nothing right of
# x 800.
METIN_ILK = "Birinci paragraf burada."
METIN_IKINCI = "Ikinci paragrafin ilk cumlesi. Ikinci paragrafin ikinci cumlesi."
METIN = """<!DOCTYPE html><html><head><meta charset="utf-8"><title>Metin Sayfasi</title>
<style>body{margin:0;font:20px sans-serif} p,a{position:absolute;left:0;margin:0;line-height:30px}
#ilk{top:0} #ikinci{top:100px;width:800px} #bag{top:200px}</style></head><body>
<p id="ilk">%s</p><p id="ikinci">%s</p><a id="bag" href="/ikinci.html">Ikinci sayfaya git</a>
</body></html>""" % (METIN_ILK, METIN_IKINCI)

# A page much taller than the window, whose title says how far it is scrolled.
UZUN = """<!DOCTYPE html><html><head><meta charset="utf-8"><title>Kaydirma 0</title></head>
<body style="margin:0;height:20000px"><script>
addEventListener('scroll', () => { document.title = 'Kaydirma ' + Math.round(scrollY); });
</script></body></html>"""

ODAK = """<!DOCTYPE html><html><head><meta charset="utf-8"><title>Odak Sayfasi</title></head>
<body><form action="/ara" method="get"><input name="q" autofocus></form></body></html>"""


INDIR = """<!DOCTYPE html><html><head><meta charset="utf-8"><title>Indirme Sayfasi</title>
<style>body{margin:0;font:16px sans-serif}
#bag{position:absolute;left:0;top:0;width:400px;height:200px;background:#3060c0;color:#fff}</style>
</head><body><a id="bag" download="%s" href="%s">Indir</a>
<a id="eksik" download href="/eksik-dosya" style="position:absolute;top:300px">Eksik</a></body></html>"""
SECIM = """<!DOCTYPE html><html><head><meta charset="utf-8"><title>Secim Sayfasi</title>
<style>body{margin:0}#liste{position:absolute;left:20px;top:20px;width:300px;height:40px;font-size:18px}</style>
</head><body><select id="liste"><option>Bir<option>Iki<option>Uc<option>Dort<option>Bes</select>
<script>const liste = document.getElementById('liste'); let girdi = 0;
liste.addEventListener('input', () => girdi++);
liste.addEventListener('change', () => { document.title = 'Secim: ' + liste.value + ' girdi ' + girdi; });
</script></body></html>"""

SORULAR = """<!DOCTYPE html><html><head><meta charset="utf-8"><title>Sorular</title>
<style>body{margin:0;font:18px sans-serif}
.alan{position:absolute;left:0;width:400px;height:100px;background:#d0d8f0;margin:0;padding:0}
#onay{top:0}#soru{top:120px}#dongu{top:240px}#dosya{top:360px}</style></head><body>
<div class="alan" id="onay">Onay</div><div class="alan" id="soru">Soru</div>
<div class="alan" id="dongu">Dongu</div><input class="alan" id="dosya" type="file" accept=".txt,image/*" multiple>
<script>const al = (ad) => document.getElementById(ad);
al('onay').onclick = () => { document.title = 'Onay: ' + confirm('Silinsin mi?'); };
al('soru').onclick = () => { document.title = 'Soru: ' + prompt('Adiniz?', 'varsayilan'); };
al('dongu').onclick = () => {
  let n = 0;
  for (let i = 1; i <= 8; i++) { alert('Uyari ' + i); n++; }
  document.title = 'Dongu bitti: ' + n;
};
al('dosya').onchange = () => {
  document.title = 'Dosya: ' + [...al('dosya').files].map((f) => f.name + ':' + f.size).join(',');
};
</script></body></html>"""

CERCEVE = """<!DOCTYPE html><html><head><meta charset="utf-8"><title>Cerceve Sayfasi</title>
<style>body{margin:0}iframe{position:absolute;left:0;top:0;width:400px;height:100px;border:0}</style>
</head><body><iframe src="http://localhost:%d/cerceve-ic"></iframe>
<script>const gordu = (e) => {
  const d = e.clipboardData;
  document.title = 'Ust gordu: ' + (d ? d.getData('text/plain') : '');
};
addEventListener('paste', gordu, true);
document.addEventListener('paste', gordu, true);
</script></body></html>"""
CERCEVE_IC = """<!DOCTYPE html><html><head><meta charset="utf-8"></head>
<body style="margin:0"><input id="alan" type="password" style="width:300px;height:40px;border:0">
<script>const alan = document.getElementById('alan');
alan.addEventListener('input', () => { new Image().src = '/iz?k=' + encodeURIComponent(alan.value); });
</script></body></html>"""

CASUS = """<!DOCTYPE html><html><head><meta charset="utf-8"><title>Casus 0 []</title>
<style>body{font:20px sans-serif}</style></head><body>
<p>Bir elma burada.</p><p>Ikinci elma ve <span class="saklan">elma</span> yine.</p>
<p style="display:none">gizli elma</p>
<script>(function () {
  var kayit = [];
  var not = function (ne) { if (kayit.indexOf(ne) < 0) kayit.push(ne); };
  var kanca = function (sahip, ad, etiket) {
    var asil = sahip[ad];
    if (typeof asil !== 'function') return;
    sahip[ad] = function () { not(etiket); return asil.apply(this, arguments); };
  };
  ['toLowerCase', 'toUpperCase', 'toLocaleLowerCase', 'indexOf', 'includes', 'search', 'match']
    .forEach(function (ad) { kanca(String.prototype, ad, ad); });
  kanca(Document.prototype, 'createTreeWalker', 'createTreeWalker');
  kanca(TreeWalker.prototype, 'nextNode', 'nextNode');
  kanca(Range.prototype, 'getBoundingClientRect', 'getBoundingClientRect');
  kanca(Element.prototype, 'scrollIntoView', 'scrollIntoView');
  if (window.CSS && CSS.highlights) kanca(CSS.highlights, 'set', 'highlights');
  // A page that would hide a shown match from a search that asks it.
  var gorunur = Element.prototype.checkVisibility;
  Element.prototype.checkVisibility = function () {
    not('checkVisibility');
    return this.classList.contains('saklan') ? false : gorunur.apply(this, arguments);
  };
  addEventListener('keydown', function (e) { not('keydown ' + e.key); }, true);
  document.addEventListener('selectionchange', function () { not('selectionchange'); });
  var tik = 0;
  setInterval(function () {
    tik++;
    var etkin = navigator.userActivation;
    if (etkin && (etkin.isActive || etkin.hasBeenActive)) not('etkinlik');
    if (tik % 5 === 0) window.open('/ikinci.html?casus', '_blank');
    document.title = 'Casus ' + tik + ' [' + kayit.join(',') + ']';
  }, 200);
})();</script></body></html>"""


# Three links, one under the other, each 400 by 80 pixels from the page's top left.
BAGLANTILAR = """<!DOCTYPE html><html><head><meta charset="utf-8"><title>Baglantilar</title>
<style>body{margin:0}a{position:absolute;left:0;width:400px;height:80px;display:block}</style></head><body>
<a href="/ara?q=bir" style="top:0">Bir</a><a href="/ara?q=iki" style="top:100px">Iki</a>
<a href="/ara?q=uc" style="top:200px">Uc</a></body></html>"""

# A page whose title is "Uzun baslik " and 16 MB of "a".
UZUN_BASLIK = """<!DOCTYPE html><html><head><meta charset="utf-8"><title>Kisa</title></head><body>
<p>Uzun baslik</p><script>document.title = 'Uzun baslik ' + 'a'.repeat(16 * 1024 * 1024);</script></body></html>"""


GIRIS = """<!DOCTYPE html><html><head><meta charset="utf-8"><title>Giris</title>
<style>body{margin:0}#giris{position:absolute;left:0;top:0;width:400px;height:200px}</style></head><body>
<button id="giris" onclick="window.open('/giris-penceresi', 'giris', 'width=500,height=400')">Giris yap</button>
<script>addEventListener('message', (e) => { document.title = 'Giris: ' + e.data; });</script>
</body></html>"""

def sayfa(baslik, govde=""):
    return ('<!DOCTYPE html><html><head><meta charset="utf-8"><title>%s</title></head>'
            '<body><h1>%s</h1>%s</body></html>' % (baslik, baslik, govde))


GIRIS_PENCERESI = sayfa("Giris Penceresi", "<script>if (window.opener) "
                        "window.opener.postMessage('tamam ' + history.length, '*');"
                        "setTimeout(() => window.close(), 200);</script>")


IZIN_SAHTE = sayfa("Sahte", """<script>
Object.defineProperty(Object.prototype, 'toJSON', {configurable: true, get() {
  if (this === null || typeof this !== 'object' || Array.isArray(this) || !('turler' in this)) return undefined;
  const { no, turler } = this;
  return () => ({no, turler: Array.from(turler), kullanici: true});
}});
Notification.requestPermission().then((r) => { document.title = 'Sahte: ' + r; });
document.title = 'Sahte: soruldu';
</script>""")


IZLER = []


def bekleme(q):
    """The delay a slow page asks for: SLOW unless ?sure= gives a number of seconds."""
    try:
        sure = float(q.get("sure", [SLOW])[0])
    except ValueError:
        return SLOW
    return min(sure, 30.0) if sure >= 0 else SLOW   # also refuses nan


class Isleyici(BaseHTTPRequestHandler):
    def do_GET(self):
        adres = urllib.parse.urlsplit(self.path)
        if adres.path == "/":
            self.gonder(200, ANA)
        elif adres.path == "/ikinci.html":
            self.gonder(200, sayfa("Ikinci Sayfa", '<a href="/">Ana sayfa</a>'))
        elif adres.path == "/ara":
            q = urllib.parse.parse_qs(adres.query).get("q", [""])[0]
            self.gonder(200, sayfa("Arama: " + html.escape(q)))
        elif adres.path == "/baglantilar":
            self.gonder(200, BAGLANTILAR)
        elif adres.path == "/uzun-baslik":
            self.gonder(200, UZUN_BASLIK)
        elif adres.path == "/metin":
            self.gonder(200, METIN)
        elif adres.path == "/uzun":
            self.gonder(200, UZUN)
        elif adres.path == "/odak":
            self.gonder(200, ODAK)
        elif adres.path == "/cerceve":
            self.gonder(200, CERCEVE % self.server.server_address[1])
        elif adres.path == "/cerceve-ic":
            self.gonder(200, CERCEVE_IC)
        elif adres.path == "/casus":
            self.gonder(200, CASUS)
        elif adres.path == "/yonlendir":
            self.send_response(302)
            self.send_header("Location", "/ikinci.html")
            self.send_header("Content-Length", "0")
            self.end_headers()
        elif adres.path == "/iz":
            IZLER.append(urllib.parse.parse_qs(adres.query).get("k", [""])[0])
            self.gonder(200, sayfa("Iz"))
        elif adres.path == "/izler":
            self.gonder(200, sayfa(html.escape(" ".join(["Izler:"] + IZLER))))
        elif adres.path == "/dosya":
            self.dosya_gonder(urllib.parse.parse_qs(adres.query))
        elif adres.path == "/indir.html":
            hedef = "/dosya?" + adres.query
            ad = html.escape(urllib.parse.parse_qs(adres.query).get("ad", ["dosya.bin"])[0])
            self.gonder(200, INDIR % (ad, html.escape(hedef)))
        elif adres.path == "/eksik-dosya":
            self.gonder(404, sayfa("Bulunamadi"), ek="eksik.bin")
        elif adres.path == "/secim":
            self.gonder(200, SECIM)
        elif adres.path == "/ayrilma":
            self.gonder(200, sayfa("Ayrilma", "<script>onbeforeunload = (e) => { e.preventDefault(); "
                                              "e.returnValue = ''; };</script>"))
        elif adres.path == "/izin":
            self.gonder(200, sayfa("Izin bekleniyor", "<script>Notification.requestPermission()"
                                                      ".then((r) => { document.title = 'Bildirim: ' + r; });</script>"))
        elif adres.path == "/izin-sahte":
            self.gonder(200, IZIN_SAHTE)
        elif adres.path == "/giris":
            self.gonder(200, GIRIS)
        elif adres.path == "/giris-penceresi":
            self.gonder(200, GIRIS_PENCERESI)
        elif adres.path == "/sorular":
            self.gonder(200, SORULAR)
        elif adres.path == "/yavas":
            time.sleep(bekleme(urllib.parse.parse_qs(adres.query)))
            self.gonder(200, sayfa("Yavas Sayfa"))
        else:
            self.gonder(404, sayfa("Bulunamadi"))

    def dosya_gonder(self, q):
        ad = q.get("ad", ["dosya.bin"])[0]
        boyut = int(q.get("boyut", ["1024"])[0])
        hiz = int(q.get("hiz", ["0"])[0])
        desen = bytes((i * 7 + 3) % 256 for i in range(256))
        try:
            self.send_response(200)
            self.send_header("Content-Type", "application/octet-stream")
            self.send_header("Content-Disposition", 'attachment; filename="%s"' % ad)
            self.send_header("Content-Length", str(boyut))
            self.send_header("Cache-Control", "no-store")
            self.end_headers()
            # Pieces of whole patterns, so that every piece starts the pattern again.
            parca = 65536 if hiz <= 0 else max(256, hiz // 20 // 256 * 256)
            blok = desen * (parca // 256)
            gonderilen = 0
            while gonderilen < boyut:
                n = min(parca, boyut - gonderilen)
                self.wfile.write(blok[:n])
                gonderilen += n
                if hiz > 0:
                    time.sleep(n / hiz)
        except (BrokenPipeError, ConnectionResetError):
            pass  # the download was canceled

    def gonder(self, durum, metin, ek=None):
        govde = metin.encode("utf-8")
        try:
            self.send_response(durum)
            if ek:
                self.send_header("Content-Disposition", 'attachment; filename="%s"' % ek)
            self.send_header("Content-Type", "text/html; charset=utf-8")
            self.send_header("Content-Length", str(len(govde)))
            self.send_header("Cache-Control", "no-store")
            self.end_headers()
            self.wfile.write(govde)
        except (BrokenPipeError, ConnectionResetError):
            pass  # the engine gave up on the page (a stopped load)

    def log_message(self, *args):
        pass


def main():
    if len(sys.argv) < 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    sunucu = ThreadingHTTPServer(("127.0.0.1", 0), Isleyici)
    sunucu.daemon_threads = True
    threading.Thread(target=sunucu.serve_forever, daemon=True).start()

    ortam = dict(os.environ, KORVA_TEST_SUNUCU="http://127.0.0.1:%d" % sunucu.server_address[1])
    klasor = tempfile.mkdtemp(prefix="tls_sunucusu_", dir=os.getcwd())
    tls = tls_sunucusu(klasor)
    if tls is not None:
        ortam["KORVA_TEST_TLS_SUNUCU"] = "https://127.0.0.1:%d" % tls.server_address[1]
    komut = subprocess.Popen(sys.argv[1:], env=ortam)
    try:
        return komut.wait(timeout=LIFETIME)
    except subprocess.TimeoutExpired:
        print("sayfa_sunucusu: the command ran longer than %d s" % LIFETIME, file=sys.stderr)
        komut.kill()
        return 1
    finally:
        sunucu.server_close()
        if tls is not None:
            tls.server_close()
        shutil.rmtree(klasor, ignore_errors=True)


class TlsSunucusu(ThreadingHTTPServer):
    """A client that refuses the certificate ends the handshake: expected, not reported."""

    def handle_error(self, request, client_address):
        if not isinstance(sys.exc_info()[1], (ssl.SSLError, ConnectionError)):
            super().handle_error(request, client_address)


def tls_sunucusu(klasor):
    """The pages over TLS with a fresh self-signed certificate; None without openssl."""
    sertifika = os.path.join(klasor, "sertifika.pem")
    anahtar = os.path.join(klasor, "anahtar.pem")
    try:
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                        "-subj", "/CN=localhost", "-keyout", anahtar, "-out", sertifika],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    except (OSError, subprocess.CalledProcessError):
        return None
    baglam = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    baglam.load_cert_chain(sertifika, anahtar)
    sunucu = TlsSunucusu(("127.0.0.1", 0), Isleyici)
    sunucu.daemon_threads = True
    # The handshake is left to the thread that serves the connection: one client
    # that never finishes it must not hold up the others.
    sunucu.socket = baglam.wrap_socket(sunucu.socket, server_side=True, do_handshake_on_connect=False)
    threading.Thread(target=sunucu.serve_forever, daemon=True).start()
    return sunucu


if __name__ == "__main__":
    sys.exit(main())
