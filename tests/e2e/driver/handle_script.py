"""Scripts for the handle simulator, and the reports in them."""
from dataclasses import dataclass


@dataclass(frozen=True)
class Report:
    x: int = 511
    y: int = 511
    z: int = 511
    pitch: int = 511
    roll: int = 511
    yaw: int = 511
    buttons: tuple = ()
    id: int = 1
    length: int = 17

    def axes(self):
        return [self.x, self.y, self.z, self.pitch, self.roll, self.yaw]

    def button_bits(self):
        return sum(1 << (button - 1) for button in self.buttons)


def report(count, **fields):
    fields["buttons"] = tuple(fields.get("buttons", ()))
    return ("report", count, Report(**fields))


WAIT = ("wait",)
REMOVE = ("remove",)
ADD = ("add",)
VANISH = ("vanish",)
EJECT = ("eject",)
CLOCK = ("clock",)


def pause(milliseconds):
    return ("pause", milliseconds)


def script_text(steps):
    lines = []
    for step in steps:
        if step[0] != "report":
            lines.append(" ".join(map(str, step)))
            continue
        _, count, r = step
        fields = [f"{name}={value}" for name, value in
                  zip(["x", "y", "z", "pitch", "roll", "yaw"], r.axes()) if value != 511]
        if r.buttons:
            fields.append("buttons=" + ",".join(map(str, r.buttons)))
        fields += [f"id={r.id}", f"len={r.length}"]
        lines.append(" ".join(["report", str(count)] + fields))
    return "\n".join(lines) + "\n"


def delivered(steps):
    """Every report in the order the program's reads get them: the simulator
    serves each copy to exactly one read."""
    return [r for step in steps if step[0] == "report" for r in [step[2]] * step[1]]
