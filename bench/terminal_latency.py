#!/usr/bin/env python3
# Key-to-screen latency of a full-screen editor in tmux: sends one key at a time through a
# tmux control-mode client and polls the pane (text and cursor) until it differs from the
# screen before the key. Prints "key samples median_ms p99_ms" lines.
# Usage: terminal_latency.py SOCKET COMMAND [--search] [--insert] [--count N]
import statistics
import subprocess
import sys
import time


class Tmux:
    def __init__(self, socket, command):
        self.socket = socket
        run = ['tmux', '-L', socket, '-f', '/dev/null']
        subprocess.run(run + ['new-session', '-d', '-s', 'main', '-x', '80', '-y', '24', command],
                       check=True)
        subprocess.run(run + ['set', '-g', 'window-size', 'manual'], check=True)
        self.client = subprocess.Popen(run + ['-C', 'attach', '-t', 'main'],
                                       stdin=subprocess.PIPE, stdout=subprocess.PIPE, bufsize=0)
        self.out = self.client.stdout
        self.command('refresh-client -f no-output')

    def close(self):
        subprocess.run(['tmux', '-L', self.socket, 'kill-server'], stderr=subprocess.DEVNULL)

    def command(self, text):
        self.client.stdin.write((text + '\n').encode())
        return self.block()

    # One reply: the lines between %begin and %end (or %error); notifications are skipped.
    def block(self):
        while True:
            line = self.out.readline()
            if not line:
                raise RuntimeError('tmux control client ended')
            if line.startswith(b'%begin'):
                break
        lines = []
        while True:
            line = self.out.readline()
            if line.startswith(b'%end') or line.startswith(b'%error'):
                return b''.join(lines)
            lines.append(line)

    def state(self):
        self.client.stdin.write(b"display -p -t main '#{cursor_x},#{cursor_y}'\ncapture-pane -p -t main\n")
        return self.block() + self.block()

    def send(self, key, literal=False):
        self.command('send-keys -t main ' + ('-l ' if literal else '') + "'" + key + "'")

    def settle(self, quiet_s=0.03, limit_s=30.0):
        last = self.state()
        stable_since = time.perf_counter()
        deadline = stable_since + limit_s
        while time.perf_counter() < deadline:
            time.sleep(0.002)
            now = self.state()
            if now != last:
                last, stable_since = now, time.perf_counter()
            elif time.perf_counter() - stable_since >= quiet_s:
                return last
        return last

    def wait_for(self, text, limit_s=60.0):
        deadline = time.perf_counter() + limit_s
        while time.perf_counter() < deadline:
            if text.encode() in self.state():
                return True
            time.sleep(0.01)
        return False

    # Sends a key and returns the seconds until the screen changed.
    def measure(self, key, literal=False, limit_s=10.0):
        before = self.settle()
        start = time.perf_counter()
        self.send(key, literal)
        while True:
            if self.state() != before:
                return time.perf_counter() - start
            if time.perf_counter() - start > limit_s:
                return None


def percentile(values, p):
    ordered = sorted(values)
    index = min(len(ordered) - 1, max(0, int(round(p / 100.0 * len(ordered) + 0.5)) - 1))
    return ordered[index]


def main():
    socket, command = sys.argv[1], sys.argv[2]
    search = '--search' in sys.argv
    insert = '--insert' in sys.argv
    count = 100
    if '--count' in sys.argv:
        count = int(sys.argv[sys.argv.index('--count') + 1])
    tmux = Tmux(socket, command)
    try:
        if not tmux.wait_for('0000001 foo'):
            print('error: the file did not show', file=sys.stderr)
            return 1
        tmux.settle()
        # Search highlighting on, with a pattern that matches on every line.
        tmux.send(':set hlsearch', literal=True)
        tmux.send('Enter')
        if search:
            tmux.send('/foo', literal=True)
            tmux.send('Enter')
            tmux.send('g', literal=True)
            tmux.send('g', literal=True)
        tmux.settle()
        plan = [('j', 'j', count), ('x', 'x', min(count, 60)), ('dd', 'dd', count), ('u', 'u', count)]
        if search:
            plan.append(('n', 'n', count))
        results = []
        for name, key, n in plan:
            samples = []
            for i in range(n):
                if name == 'x' and i == 0:
                    tmux.send('0', literal=True)
                t = tmux.measure(key, literal=True)
                if t is not None:
                    samples.append(t)
            results.append((name, samples))
        if insert:
            tmux.send('i', literal=True)
            tmux.settle()
            samples = []
            for i in range(count):
                t = tmux.measure('abcdefgh'[i % 8], literal=True)
                if t is not None:
                    samples.append(t)
            tmux.send('Escape')
            results.append(('insert typing', samples))
        for name, samples in results:
            if not samples:
                print(f'{name}\t0\t-\t-')
                continue
            print(f'{name}\t{len(samples)}\t{statistics.median(samples) * 1000:.2f}\t'
                  f'{percentile(samples, 99) * 1000:.2f}')
        return 0
    finally:
        tmux.close()


if __name__ == '__main__':
    sys.exit(main())
