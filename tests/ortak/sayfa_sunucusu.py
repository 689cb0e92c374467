#!/usr/bin/env python3
"""Real pages for the tests that run against the real engine.

    sayfa_sunucusu.py COMMAND [ARGS...]

Serves a few pages on 127.0.0.1 (a free port the system picks), runs COMMAND with
KORVA_TEST_SUNUCU=http://127.0.0.1:PORT in its environment, and exits with
COMMAND's exit code. The server is a thread of this process, so it ends with the
command; it also ends this process after LIFETIME seconds at the latest, so that
nothing of a test run can keep listening.

The pages (titles are what the tests look for):
  /              "Ana Sayfa": a link to /ikinci.html that covers the top left of the
                 page, and a form whose field q is sent to /ara
  /ikinci.html   "Ikinci Sayfa"
  /ara?q=...     "Arama: <q>"
  /yonlendir     302 to /ikinci.html
  /yavas         "Yavas Sayfa", answered after SLOW seconds
  /metin         "Metin Sayfasi": two paragraphs and a link at fixed places (METIN
                 below), for selecting, copying, the context menu and the pointer
  /odak          "Odak Sayfasi": a form like the main page's whose field has autofocus
  anything else  404, "Bulunamadi"
"""
import html
import os
import subprocess
import sys
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

ODAK = """<!DOCTYPE html><html><head><meta charset="utf-8"><title>Odak Sayfasi</title></head>
<body><form action="/ara" method="get"><input name="q" autofocus></form></body></html>"""


def sayfa(baslik, govde=""):
    return ('<!DOCTYPE html><html><head><meta charset="utf-8"><title>%s</title></head>'
            '<body><h1>%s</h1>%s</body></html>' % (baslik, baslik, govde))


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
        elif adres.path == "/metin":
            self.gonder(200, METIN)
        elif adres.path == "/odak":
            self.gonder(200, ODAK)
        elif adres.path == "/yonlendir":
            self.send_response(302)
            self.send_header("Location", "/ikinci.html")
            self.send_header("Content-Length", "0")
            self.end_headers()
        elif adres.path == "/yavas":
            time.sleep(SLOW)
            self.gonder(200, sayfa("Yavas Sayfa"))
        else:
            self.gonder(404, sayfa("Bulunamadi"))

    def gonder(self, durum, metin):
        govde = metin.encode("utf-8")
        try:
            self.send_response(durum)
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
    komut = subprocess.Popen(sys.argv[1:], env=ortam)
    try:
        return komut.wait(timeout=LIFETIME)
    except subprocess.TimeoutExpired:
        print("sayfa_sunucusu: the command ran longer than %d s" % LIFETIME, file=sys.stderr)
        komut.kill()
        return 1
    finally:
        sunucu.server_close()


if __name__ == "__main__":
    sys.exit(main())
