#!/usr/bin/env python3
# The plain client: the engine's own speed, the yardstick for Korva's Chromium engine
# library. A Linux program with nothing but Python's standard library that starts the
# same Chromium binary with the same flags as chromium/baglanti.cpp and drives it over
# the DevTools protocol the shortest way: one page target per view, a 1392x873 view,
# a JPEG screencast of quality 80 with every frame acknowledged at once and never
# decoded. bench/engine runs it between Korva's own measurements. Prints
# "name value unit" lines as bench/motor_bench.cpp does; asserts nothing.
#
#   duz_istemci.py kaydirma URL        frames received per second while a wheel notch
#                                      comes every 20 ms for 4 s (down 2 s, then up),
#                                      and the engine's processor share meanwhile
#   duz_istemci.py sekme               opening a tab to its first frame of the start
#                                      page: cold, and with a spare target made ready
#                                      beforehand beside the tab shown (which keeps
#                                      the front)
#   duz_istemci.py gezinti URL_A URL_B navigating between two local pages: to the
#                                      completion and to the new page's first frame
#   duz_istemci.py acilir URL          a page's popup: URL is a page whose button over
#                                      its whole area opens b.html as a popup; from
#                                      the click to the popup target's first frame of
#                                      its page, the popup attached and held as it is
#                                      made (as Korva's library holds it), then set
#                                      up, run, brought to the front and streamed
#   duz_istemci.py bellek N            the engine's memory with N tabs of the start
#                                      page and one spare target, idle
#   duz_istemci.py indirme URL BYTES [RUNS]
#                                      downloading URL (BYTES long) into a folder
#                                      of the profile, as Korva has the engine do,
#                                      in a fresh page target with the domains Korva
#                                      enables and with fewer (INDIRME_KIPLERI), beside
#                                      curl, in turns (3 by default): per kind the
#                                      median speed from Page.navigate and from
#                                      downloadWillBegin to completed, and the
#                                      engine's processor seconds per download
#   duz_istemci.py pdf URL PATH RUNS   printing a loaded page to a PDF file: the
#                                      call Korva's engine makes (Page.printToPDF as
#                                      a stream, read with IO.read in pieces of the
#                                      same size, written to PATH), RUNS times; the
#                                      median time per file
#
# The channel is --remote-debugging-pipe: Chromium reads commands from its fd 3 and
# writes answers and events to its fd 4, one JSON text per message, each ended by a
# NUL byte. It measured as fast as the WebSocket and needs no framing code.
#
# The start page is Korva's own (the HIZLI_ERISIM text of app/belgeler.cpp), loaded
# the way Korva loads it: Page.setDocumentContent into the target's empty document.
import ctypes
import fcntl
import json
import math
import os
import re
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

KOK = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# Kept equal to MOTOR_BAYRAKLARI in chromium/baglanti.cpp, with the pipe in place of
# the listening port.
MOTOR_BAYRAKLARI = [
    "--headless",
    "--no-sandbox",
    "--remote-debugging-pipe",
    "--no-first-run",
    "--no-default-browser-check",
    "--disable-background-networking",
    "--disable-component-update",
    "--disable-sync",
    "--disable-default-apps",
    "--disable-gpu",
    "--disable-auto-reload",
    "--disable-features=BackForwardCache",
]

# The view's size in device pixels: Korva's page window in a 1400x900 window at 96 DPI,
# or another (KORVA_BENCH_BOYUT=WxH), so that both render as many pixels a frame.
GENISLIK, YUKSEKLIK = (int(v) for v in os.environ.get("KORVA_BENCH_BOYUT", "1392x873").split("x"))
# The screen's scale (KORVA_BENCH_OLCEK, 1.5 for a screen of 144 DPI): the page is laid
# out in CSS pixels of that many device pixels, and its frames still come in the
# view's device pixels, as Korva renders a page there.
OLCEK = float(os.environ.get("KORVA_BENCH_OLCEK", "1"))
SAAT_TIKI = os.sysconf("SC_CLK_TCK")


def saniye():
    return time.perf_counter()


def ortanca(degerler):
    if not degerler:
        return 0.0
    sirali = sorted(degerler)
    orta = len(sirali) // 2
    return sirali[orta] if len(sirali) % 2 else (sirali[orta - 1] + sirali[orta]) / 2


def yaz(ad, deger, birim):
    print("%s %.6g %s" % (ad, deger, birim), flush=True)


def baslangic_sayfasi():
    """Korva's start page, read out of the C++ source so that both clients load the
    same document; a small page of the same colours when the source is not there."""
    try:
        with open(os.path.join(KOK, "app", "belgeler.cpp"), encoding="ascii") as dosya:
            kaynak = dosya.read()
        govde = kaynak.split("HIZLI_ERISIM[] =", 1)[1].split(";\n", 1)[0]
        parcalar = re.findall(r'"((?:[^"\\]|\\.)*)"', govde)
        metin = "".join(parcalar).encode("ascii").decode("unicode_escape")
        if metin.startswith("<!DOCTYPE"):
            return metin
    except (OSError, IndexError, UnicodeError):
        pass
    return "<!DOCTYPE html><title>Hizli Erisim</title><body style='background:#1e1e2e'><h1>KORVA</h1>"


# ---------------------------------------------------------------------------
# The engine's processes, read from /proc.

def surec_bilgisi(pid):
    """(parent, session, user + system clock ticks) of a process, or None."""
    try:
        with open("/proc/%d/stat" % pid) as dosya:
            satir = dosya.read()
    except OSError:
        return None
    alanlar = satir[satir.rindex(")") + 2:].split()
    return int(alanlar[1]), int(alanlar[3]), int(alanlar[11]) + int(alanlar[12])


def surec_agaci(kok_pid):
    """The engine's processes: its session (the browser process leads one) and every
    descendant, in case one of them started a session of its own."""
    bilgiler = {}
    for ad in os.listdir("/proc"):
        if ad.isdigit():
            bilgi = surec_bilgisi(int(ad))
            if bilgi:
                bilgiler[int(ad)] = bilgi
    agac = {pid for pid, (_, oturum, _) in bilgiler.items() if oturum == kok_pid}
    agac.add(kok_pid)
    buyudu = True
    while buyudu:
        buyudu = False
        for pid, (ebeveyn, _, _) in bilgiler.items():
            if ebeveyn in agac and pid not in agac:
                agac.add(pid)
                buyudu = True
    return {pid for pid in agac if pid in bilgiler}


def tikler(pidler):
    toplam = {}
    for pid in pidler:
        bilgi = surec_bilgisi(pid)
        if bilgi:
            toplam[pid] = bilgi[2]
    return toplam


def pss_mib(pidler):
    toplam_kb = 0
    for pid in pidler:
        try:
            with open("/proc/%d/smaps_rollup" % pid) as dosya:
                for satir in dosya:
                    if satir.startswith("Pss:"):
                        toplam_kb += int(satir.split()[1])
                        break
        except OSError:
            pass
    return toplam_kb / 1024.0


# ---------------------------------------------------------------------------
# The engine and its channel.

class ProtokolHatasi(Exception):
    pass


class Motor:
    """One Chromium process and the pipe to it. Everything runs on one thread: the
    waits read the pipe and hand each event to `olay`, after acknowledging frames."""

    def __init__(self):
        self.profil = tempfile.mkdtemp(prefix="korva_duz_")
        ikili = os.environ.get("KORVA_CHROMIUM", "/usr/lib/chromium/chromium")
        komut_okunan, komut_yazilan = os.pipe()
        cevap_okunan, cevap_yazilan = os.pipe()
        # Above the numbers they are given as in the child, so no dup2 is a no-op
        # that would keep the close-on-exec flag.
        cocuk_okur = fcntl.fcntl(komut_okunan, fcntl.F_DUPFD_CLOEXEC, 10)
        cocuk_yazar = fcntl.fcntl(cevap_yazilan, fcntl.F_DUPFD_CLOEXEC, 10)
        os.close(komut_okunan)
        os.close(cevap_yazilan)
        argumanlar = [ikili] + MOTOR_BAYRAKLARI + ["--user-data-dir=" + self.profil, "about:blank"]
        self.pid = os.posix_spawn(ikili, argumanlar, os.environ, file_actions=[
            (os.POSIX_SPAWN_OPEN, 0, "/dev/null", os.O_RDONLY, 0),
            (os.POSIX_SPAWN_OPEN, 1, "/dev/null", os.O_WRONLY, 0),
            (os.POSIX_SPAWN_OPEN, 2, "/dev/null", os.O_WRONLY, 0),
            (os.POSIX_SPAWN_DUP2, cocuk_okur, 3),
            (os.POSIX_SPAWN_DUP2, cocuk_yazar, 4),
        ], setsid=True)
        os.close(cocuk_okur)
        os.close(cocuk_yazar)
        self.yazilan = komut_yazilan
        self.okunan = cevap_okunan
        os.set_blocking(self.okunan, False)
        self.tampon = bytearray()
        self.sonraki_no = 1
        self.cevaplar = {}
        self.olay = None
        # Per session: (arrival time, hash of the picture's text) of each frame. The
        # encoder gives the same picture the same bytes, so equal hashes tell a
        # known picture again without decoding it.
        self.kareler = {}

    # ---- Sending.

    def gonder(self, yontem, parametreler=None, oturum=None):
        no = self.sonraki_no
        self.sonraki_no += 1
        mesaj = {"id": no, "method": yontem, "params": parametreler or {}}
        if oturum:
            mesaj["sessionId"] = oturum
        veri = json.dumps(mesaj).encode() + b"\0"
        while veri:
            veri = veri[os.write(self.yazilan, veri):]
        return no

    def cevap_bekle(self, no, sure=30):
        if not self.bekle(lambda: no in self.cevaplar, sure):
            raise ProtokolHatasi("no answer to command %d" % no)
        cevap = self.cevaplar.pop(no)
        if "error" in cevap:
            raise ProtokolHatasi(json.dumps(cevap["error"]))
        return cevap.get("result", {})

    def komut(self, yontem, parametreler=None, oturum=None, sure=30):
        return self.cevap_bekle(self.gonder(yontem, parametreler, oturum), sure)

    # ---- Reading.

    def _isle(self, mesaj):
        if "id" in mesaj:
            self.cevaplar[mesaj["id"]] = mesaj
            return
        oturum = mesaj.get("sessionId")
        if mesaj.get("method") == "Page.screencastFrame":
            # Acknowledged before anything else: the next frame waits for it.
            self.gonder("Page.screencastFrameAck", {"sessionId": mesaj["params"]["sessionId"]}, oturum)
            self.kareler.setdefault(oturum, []).append((saniye(), hash(mesaj["params"]["data"])))
        if self.olay:
            self.olay(mesaj)

    def bekle(self, kosul, sure):
        """Reads and handles messages until `kosul` holds or `sure` seconds pass."""
        bitis = saniye() + sure
        while not kosul():
            kalan = bitis - saniye()
            if kalan <= 0:
                return False
            okunabilir, _, _ = select.select([self.okunan], [], [], kalan)
            if not okunabilir:
                continue
            try:
                parca = os.read(self.okunan, 1 << 20)
            except BlockingIOError:
                continue
            if not parca:
                raise ProtokolHatasi("the engine closed its pipe")
            self.tampon += parca
            while True:
                son = self.tampon.find(b"\0")
                if son < 0:
                    break
                metin = bytes(self.tampon[:son])
                del self.tampon[:son + 1]
                self._isle(json.loads(metin))
        return True

    def bekle_ana_kadar(self, an):
        """Handles messages until the moment `an`."""
        self.bekle(lambda: False, an - saniye())

    # ---- Views.

    def hedef_ac(self):
        """A new page target attached in flat mode: (target id, session id)."""
        hedef = self.komut("Target.createTarget", {"url": "about:blank"})["targetId"]
        oturum = self.komut("Target.attachToTarget", {"targetId": hedef, "flatten": True})["sessionId"]
        return hedef, oturum

    def kurulum_gonder(self, oturum):
        """The view's setup, sent without waiting; the number of the last command."""
        self.gonder("Page.enable", oturum=oturum)
        return self.gonder("Emulation.setDeviceMetricsOverride",
                           {"width": math.ceil(GENISLIK / OLCEK - 1e-6), "height": math.ceil(YUKSEKLIK / OLCEK - 1e-6),
                            "deviceScaleFactor": OLCEK, "mobile": False},
                           oturum)

    def ekran_olcegi(self):
        """The engine's screen at the scale, without which frames come in CSS pixels."""
        if OLCEK == 1:
            return
        ekran = self.komut("Emulation.getScreenInfos")["screenInfos"][0]["id"]
        self.komut("Emulation.updateScreen", {"screenId": ekran, "devicePixelRatio": OLCEK, "width": 800,
                                              "height": 600})

    def kareleri_baslat(self, oturum):
        return self.gonder("Page.startScreencast", {"format": "jpeg", "quality": 80,
                                                     "maxWidth": GENISLIK, "maxHeight": YUKSEKLIK}, oturum)

    def kare_sayisi(self, oturum):
        return len(self.kareler.get(oturum, []))

    def ilk_kareye_kadar(self, oturum, once, ozet=None, sure=20):
        """Waits for a frame beyond the `once` the session had, showing the picture of
        hash `ozet` when one is given; its arrival time."""
        bulunan = []

        def geldi_mi():
            nonlocal once
            kareler = self.kareler.get(oturum, [])
            while not bulunan and len(kareler) > once:
                an, kare_ozeti = kareler[once]
                if ozet is None or kare_ozeti == ozet:
                    bulunan.append(an)
                once += 1
            return bool(bulunan)

        if not self.bekle(geldi_mi, sure):
            raise ProtokolHatasi("no frame")
        return bulunan[0]

    def son_kare_ozeti(self, oturum):
        return self.kareler[oturum][-1][1]

    def surecler(self):
        return surec_agaci(self.pid)

    # ---- The end.

    def kapat(self):
        pidler = self.surecler()
        try:
            self.gonder("Browser.close")
        except OSError:
            pass
        bitis = saniye() + 5
        while saniye() < bitis:
            if os.waitpid(self.pid, os.WNOHANG)[0] != 0:
                break
            time.sleep(0.05)
        for pid in pidler:
            try:
                os.kill(pid, signal.SIGKILL)
            except OSError:
                pass
        try:
            os.killpg(self.pid, signal.SIGKILL)
        except OSError:
            pass
        yetimleri_topla()
        os.close(self.yazilan)
        os.close(self.okunan)
        shutil.rmtree(self.profil, ignore_errors=True)


def yetimleri_topla():
    """Reaps every child that has ended: this process is the engine's subreaper, since
    process 1 of this machine leaves orphans as zombies."""
    while True:
        try:
            pid, _ = os.waitpid(-1, os.WNOHANG)
        except ChildProcessError:
            return
        if pid == 0:
            return


# ---------------------------------------------------------------------------
# The measurements.

def kaydirma(motor, adres):
    motor.ekran_olcegi()
    hedef, oturum = motor.hedef_ac()
    motor.cevap_bekle(motor.kurulum_gonder(oturum))
    yuklendi = []
    motor.olay = lambda m: yuklendi.append(1) if m.get("method") == "Page.loadEventFired" else None
    motor.komut("Page.navigate", {"url": adres}, oturum)
    motor.bekle(lambda: yuklendi, 20)
    motor.cevap_bekle(motor.kareleri_baslat(oturum))
    motor.ilk_kareye_kadar(oturum, 0)
    motor.bekle_ana_kadar(saniye() + 1)

    # One notch every 20 ms. A wheel event is sent only when the one before it was
    # answered; notches that come meanwhile are added up into the next one.
    sure, aralik = 4.0, 0.02
    x, y = GENISLIK // 2 / OLCEK, YUKSEKLIK // 2 / OLCEK
    durum = {"yolda": None, "biriken": 0, "gonderilen": 0}

    def teker_gonder():
        if durum["yolda"] is None and durum["biriken"] != 0:
            durum["yolda"] = motor.gonder("Input.dispatchMouseEvent", {
                "type": "mouseWheel", "x": x, "y": y, "deltaX": 0, "deltaY": durum["biriken"]}, oturum)
            durum["biriken"] = 0
            durum["gonderilen"] += 1

    def cevap_geldi_mi():
        if durum["yolda"] is not None and durum["yolda"] in motor.cevaplar:
            motor.cevaplar.pop(durum["yolda"])
            durum["yolda"] = None
            teker_gonder()
        return False

    pidler = motor.surecler()
    once_kare = motor.kare_sayisi(oturum)
    once_tik = tikler(pidler)
    baslangic = saniye()
    adim = 0
    while saniye() - baslangic < sure:
        durum["biriken"] += 120 if saniye() - baslangic < sure / 2 else -120
        teker_gonder()
        adim += 1
        sonraki = baslangic + adim * aralik
        motor.bekle(cevap_geldi_mi, sonraki - saniye())
    gecen = saniye() - baslangic
    sonra_tik = tikler(pidler)
    kareler = [an for an, _ in motor.kareler[oturum][once_kare:] if an < baslangic + sure]
    harcanan = sum(sonra_tik.get(pid, tik) - tik for pid, tik in once_tik.items())
    yaz("kaydirma_kare_s", len(kareler) / sure, "fps")
    yaz("kaydirma_motor_cpu", 100.0 * harcanan / SAAT_TIKI / gecen, "%")
    yaz("kaydirma_teker_olayi", durum["gonderilen"], "events")


def sekme_ac(motor, sayfa, onceki, hazir=None, sayfa_ozeti=None):
    """Opens a tab showing `sayfa`: with `hazir`, a (target, session) made and set up
    beforehand, or else a new target. Hides the tab before it (`onceki`, a session).
    Returns (seconds to the first frame that shows the page or None, the new tab's
    session).

    The first frame of a new screencast is often the picture the target held before
    (an empty white page), even with the document set before the screencast starts;
    so the frame counted is the first whose bytes equal the start page's own frame
    (`sayfa_ozeti`, taken from a tab opened before), or any frame when it is not
    known."""
    baslangic = saniye()
    if onceki:
        motor.gonder("Page.stopScreencast", oturum=onceki)
    if hazir:
        hedef, oturum = hazir
    else:
        hedef, oturum = motor.hedef_ac()
        motor.kurulum_gonder(oturum)
    motor.gonder("Page.bringToFront", oturum=oturum)
    motor.gonder("Page.setDocumentContent", {"frameId": hedef, "html": sayfa}, oturum)
    motor.kareleri_baslat(oturum)
    try:
        ilk = motor.ilk_kareye_kadar(oturum, motor.kare_sayisi(oturum), sayfa_ozeti, 5)
    except ProtokolHatasi:
        return None, oturum   # no frame showed that picture
    return ilk - baslangic, oturum


def yedek_hazirla(motor, gosterilen=None):
    """A spare target: made, attached and set up, its answers in (the view is ready).

    A new target is the engine's front page, and only the front page's frames flow:
    the page shown (`gosterilen`, a session) would stop being drawn while the spare
    waits. So the shown page is given the front back, as a browser making a spare
    beside the tab the user looks at must do."""
    hedef, oturum = motor.hedef_ac()
    motor.cevap_bekle(motor.kurulum_gonder(oturum))
    if gosterilen:
        motor.cevap_bekle(motor.gonder("Page.bringToFront", oturum=gosterilen))
    return hedef, oturum


def sekme(motor):
    sayfa = baslangic_sayfasi()
    # Two tabs first, not counted: the first also starts the engine's first page
    # process and may show the page before its fonts settle; the start page's
    # picture is taken from the second once it is still.
    onceki = None
    for _ in range(2):
        _, onceki = sekme_ac(motor, sayfa, onceki)
        motor.bekle_ana_kadar(saniye() + 1)
    sayfa_ozeti = motor.son_kare_ozeti(onceki)
    soguk, yedekli, eslesmeyen = [], [], 0

    def olc(olcumler, hazir):
        nonlocal onceki, eslesmeyen
        motor.bekle_ana_kadar(saniye() + 0.3)
        gecen, onceki = sekme_ac(motor, sayfa, onceki, hazir, sayfa_ozeti)
        if gecen is None:
            eslesmeyen += 1   # left out, and counted
        else:
            olcumler.append(gecen * 1000)

    for _ in range(10):
        olc(soguk, None)
    for _ in range(10):
        olc(yedekli, yedek_hazirla(motor, onceki))
    yaz("sekme_soguk_ms", ortanca(soguk), "ms")
    yaz("sekme_yedekli_ms", ortanca(yedekli), "ms")
    if eslesmeyen:
        yaz("sekme_eslesmeyen", eslesmeyen, "tabs")


def gezinti(motor, a, b):
    hedef, oturum = motor.hedef_ac()
    motor.kurulum_gonder(oturum)
    motor.cevap_bekle(motor.kareleri_baslat(oturum))
    motor.ilk_kareye_kadar(oturum, 0)
    anlar = {}

    def olay(mesaj):
        yontem, p = mesaj.get("method"), mesaj.get("params", {})
        if yontem == "Page.frameNavigated" and "parentId" not in p["frame"]:
            anlar.setdefault("gezindi", (saniye(), motor.kare_sayisi(oturum)))
        elif yontem == "Page.frameStoppedLoading" and p.get("frameId") == hedef:
            anlar.setdefault("bitti", saniye())

    motor.olay = olay
    tamam, ilk_kare = [], []
    for i in range(12):
        anlar.clear()
        baslangic = saniye()
        motor.gonder("Page.navigate", {"url": a if i % 2 == 0 else b}, oturum)
        # The first frame that arrives after the new document committed: the old
        # page does not change, so no frame of it comes once the new one is there.
        kare_geldi = lambda: "gezindi" in anlar and motor.kare_sayisi(oturum) > anlar["gezindi"][1]
        motor.bekle(lambda: "bitti" in anlar and kare_geldi(), 10)
        if i < 2:
            continue   # warming up, as bench/motor_bench.cpp does
        if "bitti" in anlar:
            tamam.append((anlar["bitti"] - baslangic) * 1000)
        if kare_geldi():
            ilk_kare.append((motor.kareler[oturum][anlar["gezindi"][1]][0] - baslangic) * 1000)
        motor.bekle_ana_kadar(saniye() + 0.2)
    yaz("gezinti_tamam_ms", ortanca(tamam), "ms")
    yaz("gezinti_ilk_kare_ms", ortanca(ilk_kare), "ms")


def acilir(motor, adres):
    hedef, oturum = motor.hedef_ac()
    motor.cevap_bekle(motor.kurulum_gonder(oturum))
    # From here on every new page target is attached and held before it runs.
    motor.komut("Target.setAutoAttach", {"autoAttach": True, "waitForDebuggerOnStart": True, "flatten": True,
                                         "filter": [{"type": "page", "exclude": False}]})
    acilanlar = []

    def olay(mesaj):
        p = mesaj.get("params", {})
        if mesaj.get("method") == "Target.attachedToTarget" and p["targetInfo"].get("openerId") == hedef:
            acilanlar.append((p["targetInfo"]["targetId"], p["sessionId"]))

    motor.olay = olay
    ozet, cizildi = None, []
    for i in range(8):
        yuklendi = []
        motor.olay = lambda m: (olay(m), m.get("method") == "Page.loadEventFired" and
                                m.get("sessionId") == oturum and yuklendi.append(1))
        motor.gonder("Page.bringToFront", oturum=oturum)
        motor.gonder("Page.navigate", {"url": adres}, oturum)
        motor.bekle(lambda: yuklendi, 10)
        motor.bekle_ana_kadar(saniye() + 0.3)
        acilanlar.clear()
        baslangic = saniye()
        for tur in ("mousePressed", "mouseReleased"):
            motor.gonder("Input.dispatchMouseEvent", {"type": tur, "x": 200, "y": 200, "button": "left",
                                                      "clickCount": 1}, oturum)
        if not motor.bekle(lambda: acilanlar, 10):
            raise ProtokolHatasi("no popup")
        acilan, acilan_oturumu = acilanlar[0]
        motor.kurulum_gonder(acilan_oturumu)
        motor.gonder("Runtime.runIfWaitingForDebugger", oturum=acilan_oturumu)
        motor.gonder("Page.bringToFront", oturum=acilan_oturumu)
        motor.kareleri_baslat(acilan_oturumu)
        if ozet is None:
            # The popup page's own picture, from the first popup once it is still.
            motor.ilk_kareye_kadar(acilan_oturumu, 0)
            motor.bekle_ana_kadar(saniye() + 1)
            ozet = motor.son_kare_ozeti(acilan_oturumu)
        else:
            try:
                an = motor.ilk_kareye_kadar(acilan_oturumu, 0, ozet, 10)
                if i >= 2:
                    cizildi.append((an - baslangic) * 1000)
            except ProtokolHatasi:
                pass   # no frame showed the page: left out
        motor.komut("Target.closeTarget", {"targetId": acilan})
    motor.olay = None
    yaz("acilir_ilk_kare_ms", ortanca(cizildi), "ms")


def bellek(motor, sayi):
    sayfa = baslangic_sayfasi()
    onceki = None
    for _ in range(sayi):
        _, onceki = sekme_ac(motor, sayfa, onceki)
    yedek_hazirla(motor)
    motor.bekle_ana_kadar(saniye() + 2)
    pidler = motor.surecler()
    yaz("bellek_%d_mib" % sayi, pss_mib(pidler), "MiB")
    yaz("bellek_%d_surec" % sayi, len(pidler), "processes")


# What the page's session has enabled while it downloads: nothing; one domain of
# those Korva enables; two of them together; all but Fetch; or all of Korva's (Page,
# Network, Runtime, Inspector, and Fetch holding documents before they are requested).
BELGE_TUTMA = ("Fetch.enable", {"patterns": [{"urlPattern": "*", "resourceType": "Document",
                                              "requestStage": "Request"}]})
INDIRME_KIPLERI = {
    "yalin": [],
    "page": [("Page.enable", None)],
    "network": [("Network.enable", None)],
    "fetch": [BELGE_TUTMA],
    "runtime": [("Runtime.enable", None)],
    "inspector": [("Inspector.enable", None)],
    "network_fetch": [("Network.enable", None), BELGE_TUTMA],
    "fetchsiz": [("Page.enable", None), ("Network.enable", None), ("Runtime.enable", None),
                 ("Inspector.enable", None)],
    "korva": [("Page.enable", None), ("Network.enable", None), ("Runtime.enable", None),
              ("Inspector.enable", None), BELGE_TUTMA],
}


def bir_indirme(motor, adres, bayt, klasor, kip):
    """One download in a fresh page target with `kip`'s domains enabled: (seconds from
    Page.navigate to the completed event, from downloadWillBegin to it, the engine's
    processor seconds meanwhile)."""
    hedef, oturum = motor.hedef_ac()
    motor.cevap_bekle(motor.kurulum_gonder(oturum))
    for yontem, parametreler in INDIRME_KIPLERI[kip]:
        motor.komut(yontem, parametreler, oturum)
    anlar = {}

    def olay(mesaj):
        yontem, p = mesaj.get("method"), mesaj.get("params", {})
        if yontem == "Fetch.requestPaused":
            motor.gonder("Fetch.continueRequest", {"requestId": p["requestId"]}, mesaj.get("sessionId"))
        elif yontem == "Browser.downloadWillBegin":
            anlar.setdefault("basladi", saniye())
        elif yontem == "Browser.downloadProgress" and p.get("state") in ("completed", "canceled"):
            anlar.setdefault("bitti", (saniye(), p.get("state"), p.get("receivedBytes")))

    motor.olay = olay
    pidler = motor.surecler()
    once_tik = tikler(pidler)
    baslangic = saniye()
    motor.gonder("Page.navigate", {"url": adres}, oturum)
    if not motor.bekle(lambda: "bitti" in anlar, 120):
        raise ProtokolHatasi("the download did not end within 120 s")
    son, durum, alinan = anlar["bitti"]
    harcanan = sum(t - once_tik.get(pid, t) for pid, t in tikler(motor.surecler()).items())
    motor.olay = None
    motor.komut("Target.closeTarget", {"targetId": hedef})
    for ad in os.listdir(klasor):
        os.unlink(os.path.join(klasor, ad))
    if durum != "completed" or alinan != bayt:
        raise ProtokolHatasi("the download ended %s after %s bytes" % (durum, alinan))
    return son - baslangic, son - anlar.get("basladi", baslangic), harcanan / SAAT_TIKI


def indirme(motor, adres, bayt, tur):
    klasor = os.path.join(motor.profil, "indirmeler")
    os.makedirs(klasor, exist_ok=True)
    motor.komut("Browser.setDownloadBehavior", {"behavior": "allowAndName", "downloadPath": klasor,
                                                "eventsEnabled": True})
    yaz("indirme_yuk", os.getloadavg()[0], "load")
    bir_indirme(motor, adres, bayt, klasor, "yalin")   # warming up: the first page process
    sonuclar = {}
    kipler = list(INDIRME_KIPLERI)
    for sira in range(tur):
        baslangic = saniye()
        subprocess.run(["curl", "-s", "-o", os.path.join(klasor, "curl.bin"), adres], check=True)
        sonuclar.setdefault("curl", []).append(bayt / (saniye() - baslangic) / 1e6)
        os.unlink(os.path.join(klasor, "curl.bin"))
        # Each turn starts with another kind, so that none always follows the same one.
        for kip in kipler[sira % len(kipler):] + kipler[:sira % len(kipler)]:
            tum, motorun, islemci = bir_indirme(motor, adres, bayt, klasor, kip)
            sonuclar.setdefault(kip, []).append(bayt / tum / 1e6)
            sonuclar.setdefault(kip + "_motor", []).append(bayt / motorun / 1e6)
            sonuclar.setdefault(kip + "_cpu", []).append(islemci)
    for ad, degerler in sonuclar.items():
        birim = "s" if ad.endswith("_cpu") else "MB/s"
        yaz("indirme_" + ad, ortanca(degerler), birim)
    yaz("indirme_yuk_son", os.getloadavg()[0], "load")


# Kept equal to PARCA_BAYTI in chromium/yazdirma.cpp.
PDF_PARCASI = 1 << 20


def pdf(motor, adres, yol, kac):
    import base64
    _, oturum = motor.hedef_ac()
    motor.komut("Page.enable", oturum=oturum)
    motor.komut("Emulation.setDeviceMetricsOverride",
                {"width": GENISLIK, "height": YUKSEKLIK, "deviceScaleFactor": 1, "mobile": False}, oturum)
    yuklendi = []
    motor.olay = lambda mesaj: yuklendi.append(1) if mesaj.get("method") == "Page.loadEventFired" else None
    motor.komut("Page.navigate", {"url": adres}, oturum=oturum)
    motor.bekle(lambda: yuklendi, 30)
    motor.olay = None
    motor.bekle_ana_kadar(saniye() + 0.5)
    sureler = []
    for _ in range(kac):
        basla = saniye()
        akis = motor.komut("Page.printToPDF", {"transferMode": "ReturnAsStream"}, oturum, 60)["stream"]
        with open(yol + ".yaziliyor", "wb") as dosya:
            while True:
                parca = motor.komut("IO.read", {"handle": akis, "size": PDF_PARCASI}, oturum)
                veri = parca.get("data", "")
                dosya.write(base64.b64decode(veri) if parca.get("base64Encoded") else veri.encode())
                if parca.get("eof"):
                    break
        motor.gonder("IO.close", {"handle": akis}, oturum)
        os.replace(yol + ".yaziliyor", yol)
        sureler.append((saniye() - basla) * 1000)
    yaz("pdf_ms", ortanca(sureler), "ms")


def main(argumanlar):
    kip = argumanlar[1] if len(argumanlar) > 1 else ""
    islevler = {
        "kaydirma": (2, lambda m: kaydirma(m, argumanlar[2])),
        "sekme": (1, sekme),
        "acilir": (2, lambda m: acilir(m, argumanlar[2])),
        "gezinti": (3, lambda m: gezinti(m, argumanlar[2], argumanlar[3])),
        "bellek": (2, lambda m: bellek(m, int(argumanlar[2]))),
        "indirme": (3, lambda m: indirme(m, argumanlar[2], int(argumanlar[3]),
                                         int(argumanlar[4]) if len(argumanlar) > 4 else 3)),
        "pdf": (4, lambda m: pdf(m, argumanlar[2], argumanlar[3], int(argumanlar[4]))),
    }
    if kip not in islevler or len(argumanlar) <= islevler[kip][0]:
        print("usage: duz_istemci.py kaydirma URL | sekme | acilir URL | gezinti URL_A URL_B | bellek N | indirme URL BYTES [RUNS] | pdf URL PATH RUNS",
              file=sys.stderr)
        return 2
    # The engine's processes that outlive their parent come to this one, which
    # reaps them (PR_SET_CHILD_SUBREAPER).
    ctypes.CDLL(None, use_errno=True).prctl(36, 1, 0, 0, 0)
    motor = Motor()
    try:
        # The browser's own target list answers once the engine is up.
        motor.komut("Target.getTargets", sure=30)
        islevler[kip][1](motor)
    except ProtokolHatasi as hata:
        print("duz_istemci: %s" % hata, file=sys.stderr)
        return 1
    finally:
        motor.kapat()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
