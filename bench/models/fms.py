"""The flexible manufacturing system: pallets of the part types P1, P2 and P3
(N of each) visit the machines M1 (3 of them), M2 (1) and M3 (2); finished
P1 and P2 parts are either shipped or assembled into P12 parts, which M3
machines. M2 machines P2 parts and, whenever it is idle, P3 parts too: a P3
part is worked on without holding the machine, so it only needs M2 free to
start. Taking a machine, the shipping-or-assembly choice and the joining of a
P1 and a P2 part are immediate; machining and transport are timed.

Finished pallets return in one batch: tP1s, tP2s, tP3s and tP12s move all
tokens of their input place at once. The language has no arc weight that
reads the marking, so each of them gets one binding per possible count k,
guarded by the input place holding exactly k tokens. The arrivals tP1, tP2
and tP3 serve every waiting pallet at once, so their rates grow with the
marking of their input place."""


def fms(n):
    places = [("P1", n), ("P1wM1", 0), ("P1M1", 0), ("M1", 3), ("P1d", 0), ("P1s", 0), ("P1wP2", 0),
              ("P12", 0), ("P12wM3", 0), ("P12M3", 0), ("M3", 2), ("P12s", 0),
              ("P2", n), ("P2wM2", 0), ("P2M2", 0), ("M2", 1), ("P2d", 0), ("P2s", 0), ("P2wP1", 0),
              ("P3", n), ("P3M2", 0), ("P3s", 0)]
    decl = ["%s ; ;%s" % (p, " %d'e" % k if k else "") for p, k in places]

    def arcs(ins, outs, k=1):
        tokens = "%d'e" % k if k > 1 else "e"
        return " , ".join(["in#%s = %s" % (p, tokens) for p in ins] +
                          ["out#%s = %s" % (p, tokens) for p in outs])

    def t(name, ins, outs, delay, server=""):
        return "%s%s [ %s ; %s ]" % (name, server, arcs(ins, outs), delay)

    def batch(name, source, targets, delay):
        bindings = ["( #%s = %d ) %s ; %s" % (source, k, arcs([source], targets, k), delay)
                    for k in range(1, n + 1)]
        return "%s [ %s ]" % (name, "\n    | ".join(bindings))

    trans = [
        t("tP1", ["P1"], ["P1wM1"], "Exponential(0.4)", " IS"),
        t("tP1M1", ["P1wM1", "M1"], ["P1M1"], "Immediate"),
        t("tM1", ["P1M1"], ["M1", "P1d"], "Exponential(0.25)"),
        "tP1x [ in#P1d = e , out#P1s = e ; 0.2 ; Immediate | in#P1d = e , out#P1wP2 = e ; 0.8 ; Immediate ]",
        batch("tP1s", "P1s", ["P1"], "Exponential(0.6)"),
        t("tx", ["P1wP2", "P2wP1"], ["P12"], "Immediate"),
        t("tP12", ["P12"], ["P12wM3"], "Exponential(0.5)"),
        t("tP12M3", ["P12wM3", "M3"], ["P12M3"], "Immediate"),
        t("tM3", ["P12M3"], ["M3", "P12s"], "Exponential(0.1)"),
        batch("tP12s", "P12s", ["P1", "P2"], "Exponential(0.3)"),
        t("tP2", ["P2"], ["P2wM2"], "Exponential(0.33)", " IS"),
        t("tP2M2", ["P2wM2", "M2"], ["P2M2"], "Immediate"),
        t("tM2", ["P2M2"], ["M2", "P2d"], "Exponential(0.167)"),
        "tP2x [ in#P2d = e , out#P2s = e ; 0.4 ; Immediate | in#P2d = e , out#P2wP1 = e ; 0.6 ; Immediate ]",
        batch("tP2s", "P2s", ["P2"], "Exponential(0.6)"),
        t("tP3", ["P3"], ["P3M2"], "Exponential(0.2)", " IS"),
        t("tP3M2", ["P3M2", "M2"], ["M2", "P3s"], "Exponential(0.5)"),
        batch("tP3s", "P3s", ["P3"], "Exponential(0.6)"),
    ]
    return "\n".join(["Definition :", "Parameter : Page : \\",
                      "ElementaryPlace : " + "\n| ".join(decl), "ProductPlace :", "Transition :"]
                     + trans + ["Evaluate :", "m1busy = E[ 3 - #M1 ]", "| assembled = TP[ tx ]"]) + "\n"
