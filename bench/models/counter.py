"""A long birth-death chain: a counter of B * B states written as two digits
in base B (places Low and High of capacity B - 1), counted up by one at rate
1 / 1.01 and down by one at rate 1, a carry or borrow moving between the
digits. State x (the count) has probability proportional to (1 / 1.01)^x,
so the measures are known in closed form; most of the mass lies in the
first few thousand counts. Relaxation has to move the mass along the whole
line, whereas an elimination along the line makes no fill."""

# Mean delays: counting up is 1 % slower than counting down.
UP, DOWN = 1.01, 1.0


def counter(b):
    top = b - 1
    return "\n".join([
        "Definition :", "Parameter : Page : \\",
        "ElementaryPlace : Low ; %d ; | High ; %d ;" % (top, top), "ProductPlace :", "Transition :",
        "Up [ out#Low = e ; Exponential(%g) ]" % UP,
        "Carry [ in#Low = %d'e , out#High = e ; Exponential(%g) ]" % (top, UP),
        "Down [ in#Low = e ; Exponential(%g) ]" % DOWN,
        "Borrow ( #Low = 0 ) [ in#High = e , out#Low = %d'e ; Exponential(%g) ]" % (top, DOWN),
        "Evaluate :",
        "low = E[ #Low ]",
        "| high = E[ #High ]",
        "| bottom = P[ #High = 0 ]"]) + "\n"
