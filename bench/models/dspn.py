"""A DSPN family: N customers circulate through six exponential stations and
one station with a deterministic service time."""

STATIONS = 6


def dspn(n):
    places = ["S1 ; ; %d'e" % n] + ["S%d ; ;" % i for i in range(2, STATIONS + 1)] + ["D ; ;"]
    lines = ["Definition :", "Parameter : Page : \\",
             "ElementaryPlace : " + "\n| ".join(places), "ProductPlace :", "Transition :"]
    for i in range(1, STATIONS):
        lines.append("e%d [ in#S%d = e , out#S%d = e ; Exponential(%g) ]" % (i, i, i + 1, 1 + 0.25 * i))
    lines += ["e%d [ in#S%d = e , out#D = e ; Exponential(2) ]" % (STATIONS, STATIONS),
              "d [ in#D = e , out#S1 = e ; Deterministic(0.5) ]",
              "Evaluate :",
              "waiting = E[ #D ]",
              "| cycles = TP[ d ]"]
    return "\n".join(lines) + "\n"
