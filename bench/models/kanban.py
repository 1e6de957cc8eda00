"""The kanban system: four stations, N cards each, every transition exponential."""


def kanban(n):
    places = []
    for i in range(1, 5):
        places += ["pm%d ; ;" % i, "pback%d ; ;" % i, "pkan%d ; ; %d'e" % (i, n), "pout%d ; ;" % i]
    lines = ["Definition :", "Parameter : Page : \\",
             "ElementaryPlace : " + "\n| ".join(places), "ProductPlace :", "Transition :",
             "tin1 [ in#pkan1 = e , out#pm1 = e ; Exponential(1) ]"]
    for i in range(1, 5):
        lines += ["tredo%d [ in#pm%d = e , out#pback%d = e ; Exponential(2.5) ]" % (i, i, i),
                  "tback%d [ in#pback%d = e , out#pm%d = e ; Exponential(3) ]" % (i, i, i),
                  "tok%d [ in#pm%d = e , out#pout%d = e ; Exponential(1.2) ]" % (i, i, i)]
    lines += ["tsynch1_23 [ in#pout1 = e , in#pkan2 = e , in#pkan3 = e , "
              "out#pkan1 = e , out#pm2 = e , out#pm3 = e ; Exponential(2) ]",
              "tsynch23_4 [ in#pout2 = e , in#pout3 = e , in#pkan4 = e , "
              "out#pkan2 = e , out#pkan3 = e , out#pm4 = e ; Exponential(2) ]",
              "tout4 [ in#pout4 = e , out#pkan4 = e ; Exponential(1) ]",
              "Evaluate :",
              "busy1 = P[ #pm1 > 0 ]",
              "| cards4 = E[ #pkan4 ]",
              "| throughput = TP[ tout4 ]"]
    return "\n".join(lines) + "\n"
