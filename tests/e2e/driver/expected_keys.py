"""The key events that the output rules make of a series of reports.

One run of output, from Start to Stop: every report with ID 1 is one cycle;
reports with another ID give no cycle at all. Each cycle first pulses the axis
directions, all in one batch, then sends one event per changed button in
button order. Stopping adds a final cycle, which releases every key that is
down: the pulsing directions' first, in direction order, then the buttons'."""

AXIS_CENTRE = 511


def pulse_divisor(cycle_steps):
    return AXIS_CENTRE // (cycle_steps + 1) + 1


def magnitudes(report, cycle_steps):
    """Pulse widths of the 12 directions: X+, X-, Y+, Y-, ..."""
    divisor = pulse_divisor(cycle_steps)
    widths = []
    for value in report.axes():
        if value >= AXIS_CENTRE:
            widths += [(value - AXIS_CENTRE) // divisor, 0]
        else:
            widths += [0, (AXIS_CENTRE - value) // divisor]
    return widths


def output_run(table, reports):
    """[("down" | "up", key code), ...] of one run of output over these reports,
    with a key table that does not change during the run."""
    events = []
    phase = 0
    held = [False] * 12
    previous = 0
    for report in reports:
        if report.id != 1:
            continue
        # With pulses off no direction is ever pressed.
        for direction, width in enumerate(magnitudes(report, table.cycle_steps)):
            key = table.axis_key(direction)
            if key == 0 or not table.pulse_enabled:
                continue
            if width > phase and not held[direction]:
                events.append(("down", key))
                held[direction] = True
            elif width <= phase and held[direction]:
                events.append(("up", key))
                held[direction] = False
        events += button_edges(table, previous, report.button_bits())
        previous = report.button_bits()
        phase = (phase + 1) % table.cycle_steps
    events += [("up", table.axis_key(direction)) for direction in range(12) if held[direction]]
    events += button_edges(table, previous, 0)
    return events


def button_edges(table, previous, current):
    events = []
    for bit in range(64):
        if (previous ^ current) >> bit & 1 and table.button_key(bit + 1):
            events.append(("down" if current >> bit & 1 else "up", table.button_key(bit + 1)))
    return events
