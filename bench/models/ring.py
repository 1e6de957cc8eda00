"""A wide net: N places in a ring and one token that moves from each place
to the next through its own exponential transition. N markings, each with
one successor; every marking touches two places of N."""


def ring(n):
    places = ["r0 ; ; 1'e"] + ["r%d ; ;" % i for i in range(1, n)]
    trans = ["t%d [ in#r%d = e , out#r%d = e ; Exponential(1) ]" % (i, i, (i + 1) % n)
             for i in range(n)]
    return "\n".join(["Definition :", "Parameter : Page : \\",
                      "ElementaryPlace : " + "\n| ".join(places), "ProductPlace :", "Transition :"]
                     + trans + ["Evaluate :", "first = P[ #r0 > 0 ]"]) + "\n"
