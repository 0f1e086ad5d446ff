"""The rows of the bench's table: figures from paired runs, their ratio, and the goal beside it.

A cell shows the median and, in brackets, the smallest and largest value, so noise shows. The
ratio of a row is taken pair by pair (ours divided by the peer of the same pair, both run one
after the other under the same load); its median and range are shown. A row with a failed run or
a figure that makes no sense shows why instead of a ratio, and counts as failed."""
import dataclasses
import statistics
from typing import Callable, List, Optional, Tuple

import timed


@dataclasses.dataclass
class Goal:
    text: str
    met: Optional[Callable[[float, float], bool]]  # (ours' median, the ratio's median) -> met

    def verdict(self, ours, ratio):
        if self.met is None:
            return "-"
        return "yes" if self.met(ours, ratio) else "no"


def ratio_at_most(limit):
    return Goal(f"<= {limit}x", lambda ours, ratio: ratio <= limit)


def ours_at_most(limit, unit):
    return Goal(f"<= {limit:g} {unit}", lambda ours, ratio: ours <= limit)


NO_GOAL = Goal("none set", None)


@dataclasses.dataclass
class Row:
    measure: str
    ours: str = ""
    peer: str = ""
    ratio: str = ""
    goal: str = ""
    met: str = ""
    failure: Optional[str] = None


def spread(values, digits):
    low, mid, high = min(values), statistics.median(values), max(values)
    return f"{mid:.{digits}f} ({low:.{digits}f}-{high:.{digits}f})"


def ratio_text(value):
    return f"{value:.3g}"


def failed(measure, why):
    return Row(measure, failure=why)


def problem(pairs: List[Tuple[timed.Run, timed.Run]], value):
    """Why these pairs give no ratio, or None when they do."""
    if not pairs:
        return "no runs"
    for ours, peer in pairs:
        if ours.failure:
            return f"ours failed: {ours.failure}"
        if peer.failure:
            return f"peer failed: {peer.failure}"
        for figure in (value(ours), value(peer)):
            if not figure > 0:
                return f"a figure that makes no sense: {figure}"
    return None


def paired_row(measure, pairs, goal: Goal, value=lambda run: run.seconds, digits=3):
    why = problem(pairs, value)
    if why:
        return failed(measure, why)
    ours = [value(a) for a, _ in pairs]
    peer = [value(b) for _, b in pairs]
    ratios = [a / b for a, b in zip(ours, peer)]
    low, mid, high = min(ratios), statistics.median(ratios), max(ratios)
    return Row(
        measure,
        ours=spread(ours, digits),
        peer=spread(peer, digits),
        ratio=f"{ratio_text(mid)} ({ratio_text(low)}-{ratio_text(high)})",
        goal=goal.text,
        met=goal.verdict(statistics.median(ours), mid),
    )


def size_row(measure, ours_bytes, peer_bytes, goal: Goal):
    """Sizes of files: one exact figure each, nothing to repeat."""
    if not (ours_bytes > 0 and peer_bytes > 0):
        return failed(measure, f"a size that makes no sense: {ours_bytes}, {peer_bytes}")
    ours_kb, peer_kb = ours_bytes / 1024, peer_bytes / 1024
    return Row(
        measure,
        ours=f"{ours_kb:.1f}",
        peer=f"{peer_kb:.1f}",
        ratio=ratio_text(ours_bytes / peer_bytes),
        goal=goal.text,
        met=goal.verdict(ours_kb, ours_bytes / peer_bytes),
    )


COLUMNS = ("Measure", "Ours", "Peer", "Ratio", "Goal", "Met")


def table(rows):
    """The rows as aligned text; a failed row says why where its ratio would be."""
    lines = [COLUMNS] + [(r.measure, r.ours, r.peer, r.ratio, r.goal, r.met) for r in rows]
    widths = [max(len(line[i]) for line in lines) for i in range(len(COLUMNS))]
    text = []
    for line, row in zip(lines, [None] + list(rows)):
        if row is not None and row.failure:
            line = line[:3] + (f"FAILED: {row.failure}",)
        text.append("  ".join(cell.ljust(width) for cell, width in zip(line, widths)).rstrip())
    return "\n".join(text)
