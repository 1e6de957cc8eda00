"""An infinite-server station: N tokens wait in one place and are all served
at once by an infinite-server transition, whose rate grows with the number
of waiting tokens; a single server sends them back. N + 1 markings; the
infinite-server transition is enabled N times over in the first one."""


def servers(n):
    return "\n".join([
        "Definition :", "Parameter : Page : \\",
        "ElementaryPlace : Waiting ; ; %d'e" % n, "| Done ; ;", "ProductPlace :", "Transition :",
        "Serve IS [ in#Waiting = e , out#Done = e ; Exponential(1) ]",
        "Back [ in#Done = e , out#Waiting = e ; Exponential(2) ]",
        "Evaluate :", "waiting = E[ #Waiting ]"]) + "\n"
