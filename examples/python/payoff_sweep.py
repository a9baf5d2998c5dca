"""How the bluffing game's equilibrium moves as the stake of a called bet grows.

The stake of a call goes from 1.1 to 11 in 100 steps; for each, the game is solved and the
table shows how often Ann bluffs with a low card, how often Bob calls, and what the game is
worth to Ann.
    PYTHONPATH=build/release/python /usr/bin/python3 examples/python/payoff_sweep.py
"""
import ludomark
from bluff import bluff


def solve_with_stake(stake):
    game = bluff()
    ann, bob = game.players
    for move in game.moves:
        if move.name == "Call":
            # A called bet pays the stake to the holder of the better card.
            ann_wins = move.source.name == "Bob high"
            move.set_payoffs({ann: stake if ann_wins else -stake,
                              bob: -stake if ann_wins else stake})
    (solution,) = game.solve(method="mixed", jobs=1)
    return solution


def main():
    print(f"{'stake':>8} {'bluff':>8} {'call':>8} {'value':>9}")
    for step in range(100):
        stake = 1.1 + step * 0.1
        s = solve_with_stake(stake)
        bluffing = s.probabilities[("Ann low", "Bet")]
        calling = s.probabilities[("Bob high", "Call")]
        print(f"{stake:8.2f} {bluffing:8.4f} {calling:8.4f} {s.values['Deal']['Ann']:9.4f}")


if __name__ == "__main__":
    main()
