"""The flexible manufacturing system: pallets of the part types P1, P2 and P3
(N of each) visit the machines M1 (3 of them, shared by P1 and P3), M2 (1)
and M3 (2); finished P1 and P2 parts are either shipped or assembled into
P12 parts. Taking a machine, the shipping-or-assembly choice and the joining
of a P1 and a P2 part are immediate; machining and transport are timed."""


def fms(n):
    places = [("P1", n), ("P1wM1", 0), ("P1M1", 0), ("M1", 3), ("P1d", 0), ("P1s", 0), ("P1wP2", 0),
              ("P12", 0), ("P12wM3", 0), ("P12M3", 0), ("M3", 2), ("P12s", 0),
              ("P2", n), ("P2wM2", 0), ("P2M2", 0), ("M2", 1), ("P2d", 0), ("P2s", 0), ("P2wP1", 0),
              ("P3", n), ("P3M1", 0), ("P3s", 0)]
    decl = ["%s ; ;%s" % (p, " %d'e" % k if k else "") for p, k in places]

    def t(name, ins, outs, delay):
        arcs = ["in#%s = e" % p for p in ins] + ["out#%s = e" % p for p in outs]
        return "%s [ %s ; %s ]" % (name, " , ".join(arcs), delay)

    trans = [
        t("tP1", ["P1"], ["P1wM1"], "Exponential(0.4)"),
        t("tP1M1", ["P1wM1", "M1"], ["P1M1"], "Immediate"),
        t("tM1", ["P1M1"], ["M1", "P1d"], "Exponential(0.25)"),
        "tP1x [ in#P1d = e , out#P1s = e ; 0.2 ; Immediate | in#P1d = e , out#P1wP2 = e ; 0.8 ; Immediate ]",
        t("tP1s", ["P1s"], ["P1"], "Exponential(0.6)"),
        t("tx", ["P1wP2", "P2wP1"], ["P12"], "Immediate"),
        t("tP12", ["P12"], ["P12wM3"], "Exponential(0.5)"),
        t("tP12M3", ["P12wM3", "M3"], ["P12M3"], "Immediate"),
        t("tM3", ["P12M3"], ["M3", "P12s"], "Exponential(0.1)"),
        t("tP12s", ["P12s"], ["P1", "P2"], "Exponential(0.3)"),
        t("tP2", ["P2"], ["P2wM2"], "Exponential(0.33)"),
        t("tP2M2", ["P2wM2", "M2"], ["P2M2"], "Immediate"),
        t("tM2", ["P2M2"], ["M2", "P2d"], "Exponential(0.167)"),
        "tP2x [ in#P2d = e , out#P2s = e ; 0.4 ; Immediate | in#P2d = e , out#P2wP1 = e ; 0.6 ; Immediate ]",
        t("tP2s", ["P2s"], ["P2"], "Exponential(0.6)"),
        t("tP3", ["P3", "M1"], ["P3M1"], "Exponential(0.2)"),
        t("tP3M1", ["P3M1"], ["M1", "P3s"], "Exponential(0.5)"),
        t("tP3s", ["P3s"], ["P3"], "Exponential(0.6)"),
    ]
    return "\n".join(["Definition :", "Parameter : Page : \\",
                      "ElementaryPlace : " + "\n| ".join(decl), "ProductPlace :", "Transition :"]
                     + trans + ["Evaluate :", "m1busy = E[ 3 - #M1 ]", "| assembled = TP[ tx ]"]) + "\n"
