"""A coloured net: three job classes share a queue and a server that serves
one class at a time (an exclusive transition with one binding per class, so
the active binding is part of the state), and class-b jobs take breaks at an
infinite-server station. N jobs of each class."""

CLASSES = (("a.1", 1, 2.0), ("b.1", 2, 1.5), ("c.1", 3, 1.0))


def colours(n):
    think = " + ".join("%d'%s" % (n, c) for c, _, _ in CLASSES)
    arrive = " | ".join("in#Think = %s , out#Queue = %s ; %d ; Exponential(0.5)" % (c, c, w)
                        for c, w, _ in CLASSES)
    serve = " | ".join("in#Queue = %s , out#Think = %s ; %d ; Exponential(%g)" % (c, c, w, r)
                       for c, w, r in CLASSES)
    return "\n".join([
        "Definition :",
        "Parameter : Page : \\",
        "ElementaryPlace :",
        "ProductPlace : Think ; ; " + think,
        "| Queue ; ;",
        "| Break ; ;",
        "Transition :",
        "Arrive ES [ " + arrive + " ]",
        "Serve ES [ " + serve + " ]",
        "Rest IS [ in#Think = b.1 , out#Break = b.1 ; Exponential(0.2) ]",
        "Return IS [ in#Break = b.1 , out#Think = b.1 ; Exponential(1) ]",
        "Evaluate :",
        "queued = E[ #Queue ]",
        "| served = TP[ Serve ]",
    ]) + "\n"
