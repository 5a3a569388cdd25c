"""A Windows program run under Wine, with its stdin and stdout as line channels."""
import queue
import subprocess
import threading
import time


class WineProcess:
    """Starts `wine <exe> <args>`; every line the program prints is kept and
    can be waited for. Under Wine each Windows process is one Linux process,
    so killing it ends the program."""

    def __init__(self, exe, *args, cwd=None, talk=True):
        pipe = subprocess.PIPE if talk else subprocess.DEVNULL
        self.name = str(exe).rsplit("/", 1)[-1]
        self.process = subprocess.Popen(
            ["wine", str(exe), *map(str, args)], cwd=cwd, stdin=pipe, stdout=pipe,
            stderr=subprocess.PIPE if talk else subprocess.DEVNULL, text=True, bufsize=1)
        self.lines = []
        self.errors = []
        self._pending = queue.Queue()
        self._readers = []
        if talk:
            for stream, pending in ((self.process.stdout, self._pending), (self.process.stderr, None)):
                reader = threading.Thread(target=self._collect, args=(stream, pending), daemon=True)
                reader.start()
                self._readers.append(reader)

    def _collect(self, stream, pending):
        for line in stream:
            line = line.rstrip("\r\n")
            if pending is None:
                self.errors.append(line)
            else:
                self.lines.append(line)
                pending.put(line)

    def expect(self, prefix, timeout=20):
        """The next line that starts with prefix; lines before it are skipped."""
        deadline = time.monotonic() + timeout
        while True:
            remaining = deadline - time.monotonic()
            if remaining <= 0:
                raise AssertionError(f"{self.name} did not say '{prefix}' within {timeout} s; "
                                     f"it said {self.lines[-20:]}, errors {self.errors[-10:]}")
            try:
                line = self._pending.get(timeout=min(remaining, 0.2))
            except queue.Empty:
                if self.process.poll() is not None and self._pending.empty():
                    raise AssertionError(f"{self.name} ended ({self.process.returncode}) before saying "
                                         f"'{prefix}'; it said {self.lines[-20:]}, errors {self.errors[-10:]}")
                continue
            if line.startswith(prefix):
                return line

    def send(self, line):
        self.process.stdin.write(line + "\n")
        self.process.stdin.flush()

    def running(self):
        return self.process.poll() is None

    def wait(self, timeout=20):
        """The exit code; kills the program when it does not end in time."""
        try:
            code = self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.kill()
            raise AssertionError(f"{self.name} did not end within {timeout} s")
        # Wine passes a console program's output on from another process,
        # which may still be at it when the program has ended.
        for reader in self._readers:
            reader.join(timeout=10)
        return code

    def kill(self):
        if self.running():
            self.process.kill()
            self.process.wait()
