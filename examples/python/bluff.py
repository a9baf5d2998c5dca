"""The one-card bluffing game built in code, solved, and its equilibrium printed.

Run from the checkout after `make`:
    PYTHONPATH=build/release/python /usr/bin/python3 examples/python/bluff.py
"""
import ludomark


def bluff():
    game = ludomark.Game("Bluff")
    ann = game.add_player("Ann")
    bob = game.add_player("Bob")
    deal = game.add_node("Deal")  # no player: chance deals Ann a high or a low card
    ann_high = game.add_node("Ann high", ann)
    ann_low = game.add_node("Ann low", ann)
    bob_high = game.add_node("Bob high", bob)
    bob_low = game.add_node("Bob low", bob)
    game.add_move(deal, "High", ann_high, probability=0.5)
    game.add_move(deal, "Low", ann_low, probability=0.5)
    game.add_move(ann_high, "Bet", bob_high)
    game.add_move(ann_low, "Bet", bob_low)
    game.add_move(ann_high, "Check", payoffs={ann: 1, bob: -1})
    game.add_move(ann_low, "Check", payoffs={ann: -1, bob: 1})
    game.add_move(bob_high, "Call", payoffs={ann: 2, bob: -2})
    game.add_move(bob_high, "Fold", payoffs={ann: 1, bob: -1})
    game.add_move(bob_low, "Call", payoffs={ann: -2, bob: 2})
    game.add_move(bob_low, "Fold", payoffs={ann: 1, bob: -1})
    # Bob sees a bet, not the card.
    game.add_info_set("After bet", [bob_high, bob_low])
    return game


def show(solution):
    print(f"SOLUTION {solution.name} ({solution.kind})")
    print("  CHOICES")
    for c in solution.choices:
        best = " best" if c["best"] else ""
        print(f"    {c['name']}@{c['set']} ({c['player']}) "
              f"p= {c['probability']:.6g} e= {c['expected']:.6g}{best}")
    # Nodes as the command line shows them: the player in brackets, CHANCE for chance.
    nodes = solution.to_dict()["nodes"]
    print("  BELIEFS")
    for n in nodes:
        if n["player"] is not None:
            print(f"    {n['name']}({n['player']}) b= {n['belief']:.6g}")
    print("  VALUES")
    for n in nodes:
        values = " ".join(f"{v['player']}= {v['value']:.6g}" for v in n["values"])
        print(f"    {n['name']}({n['player'] or 'CHANCE'}) {values}")

if __name__ == "__main__":
    for solution in bluff().solve(method="mixed"):
        show(solution)
