#!/usr/bin/env python3
# Key-to-screen latency of full-screen editors in tmux, measured interleaved: every editor runs
# in its own tmux server (80x24, same file, same settings) for the whole run, and the samples of
# one key alternate between the editors (the order flipping each round), so that a load that
# comes and goes on the machine falls on all of them alike.
#
# One sample: wait until the screen (text and cursor) has been quiet for a while, send one key
# through a tmux control-mode client, then poll the pane until it has been quiet again. The
# latency is the time from sending to the last change seen, i.e. to the screen showing the key's
# whole effect (an editor drawing in several pieces is not credited for the first piece).
#
# With --method output, the time is taken instead from tmux's output notifications: a second
# control client receives every piece of output the editor writes, stamped by a reader thread,
# and the latency is the time from sending to the last piece. Polling the screen costs tmux a
# full capture each time (about half a millisecond on a full screen), which limits the screen
# method's resolution; the output method leaves tmux idle while it waits and resolves tens of
# microseconds.
#
# How the processes land on the processors changes a run's figures by several percent, the
# same way for every sample of the run: --runs repeats the whole measurement with the editors
# started afresh and pools the samples, and --pin puts the tmux servers and editors on given
# processors and this script on the others, so that its polling does not compete with them.
#
# Prints "editor key samples median_ms p99_ms" lines, tab separated; --raw FILE also writes
# every sample.
# Usage: terminal_latency.py --editor NAME:COMMAND [--editor ...] --file FILE [--count N]
#                            [--runs R] [--pin CPUS] [--keys j,x,dd,u,n,insert] [--raw FILE]
#                            [--method screen|output]
import argparse
import math
import os
import statistics
import subprocess
import sys
import threading
import time

QUIET_S = 0.04  # the screen counts as settled after this long without a change


class Tmux:
    def __init__(self, socket, command, pin=None):
        self.socket = socket
        run = ['tmux', '-L', socket, '-f', '/dev/null']
        # The server, and with it the editor it starts, runs on the given processors.
        start = (['taskset', '-c', pin] if pin else []) + run
        subprocess.run(start + ['new-session', '-d', '-s', 'main', '-x', '80', '-y', '24', command],
                       check=True)
        subprocess.run(run + ['set', '-g', 'window-size', 'manual'], check=True)
        subprocess.run(run + ['set', '-g', 'escape-time', '0'], check=True)
        self.client = subprocess.Popen(run + ['-C', 'attach', '-t', 'main'],
                                       stdin=subprocess.PIPE, stdout=subprocess.PIPE, bufsize=0)
        self.out = self.client.stdout
        self.command('refresh-client -f no-output')

    def close(self):
        subprocess.run(['tmux', '-L', self.socket, 'kill-server'], stderr=subprocess.DEVNULL)

    # A second control client whose output notifications a thread stamps as they arrive.
    def watch_output(self):
        run = ['tmux', '-L', self.socket, '-f', '/dev/null']
        self.watcher = subprocess.Popen(run + ['-C', 'attach', '-t', 'main'],
                                        stdin=subprocess.PIPE, stdout=subprocess.PIPE, bufsize=0)
        self.output_times = []

        def read():
            for line in self.watcher.stdout:
                # A clipboard sequence (OSC 52) changes nothing on the screen.
                if line.startswith(b'%output') and b'\\033]52;' not in line:
                    self.output_times.append(time.perf_counter())

        threading.Thread(target=read, daemon=True).start()

    # Sends a key and returns the seconds until the last piece of output it caused, or None
    # when it caused none.
    def measure_output(self, key, literal=False, limit_s=10.0):
        while self.output_times and time.perf_counter() - self.output_times[-1] < QUIET_S:
            time.sleep(0.005)
        seen = len(self.output_times)
        start = time.perf_counter()
        self.send(key, literal)
        while time.perf_counter() - start < limit_s:
            time.sleep(0.002)
            if len(self.output_times) > seen and \
                    time.perf_counter() - self.output_times[-1] >= QUIET_S:
                return self.output_times[-1] - start
        return None

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

    def settle(self, quiet_s=QUIET_S, limit_s=30.0):
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

    def wait_for(self, text, limit_s=120.0):
        deadline = time.perf_counter() + limit_s
        while time.perf_counter() < deadline:
            if text.encode() in self.state():
                return True
            time.sleep(0.01)
        return False

    # Sends a key and returns the seconds until the last change of the screen, or None when the
    # screen did not change.
    def measure(self, key, literal=False, limit_s=10.0):
        before = self.settle()
        start = time.perf_counter()
        self.send(key, literal)
        last, changed_at = before, None
        while True:
            now = self.state()
            t = time.perf_counter()
            if now != last:
                last, changed_at = now, t
            elif changed_at is not None and t - changed_at >= QUIET_S:
                return changed_at - start
            if t - start > limit_s:
                return changed_at - start if changed_at is not None else None


def parse_cpu_list(text):
    cpus = set()
    for part in text.split(','):
        first, _, last = part.partition('-')
        cpus.update(range(int(first), int(last or first) + 1))
    return cpus


def percentile(values, p):
    # Nearest rank: the smallest value with at least p percent of the samples at or below it.
    ordered = sorted(values)
    rank = math.ceil(p / 100.0 * len(ordered) - 1e-9)
    return ordered[min(len(ordered), max(1, rank)) - 1]


# What each key's samples do: the key sent, and an unmeasured key sent before sample i (or None).
def plan_for(name):
    if name == 'x':
        # 75 characters per line: a new line every 50 deletions.
        return 'x', lambda i: ('0' if i == 0 else ('j' if i % 50 == 0 else None))
    if name == 'insert':
        return None, lambda i: ('i' if i == 0 else None)
    return name, lambda i: None


# One run: fresh editors in fresh tmux servers, every key measured args.count times on each.
def run_once(args, editors, keys, samples):
    sessions = {}
    try:
        for name, command in editors:
            copy = f'{args.file}.{name}'
            subprocess.run(['cp', args.file, copy], check=True)
            sessions[name] = Tmux(f'lat-{name}-{time.time_ns()}', f'{command} {copy}', args.pin)
        for name, tmux in sessions.items():
            if not tmux.wait_for('0000001 foo'):
                raise RuntimeError(f'{name} did not show the file')
            tmux.settle()
            # Search highlighting on, with a pattern that matches on every line.
            tmux.send(':set hlsearch', literal=True)
            tmux.send('Enter')
            tmux.send('/foo', literal=True)
            tmux.send('Enter')
            tmux.send('gg', literal=True)
            tmux.settle()
            if args.method == 'output':
                tmux.watch_output()
        order = list(sessions.items())
        for key in keys:
            sent, before = plan_for(key)
            for i in range(args.count):
                round_order = order if i % 2 == 0 else order[::-1]
                for name, tmux in round_order:
                    extra = before(i)
                    if extra is not None:
                        tmux.send(extra, literal=True)
                    k = sent if sent is not None else 'abcdefgh'[i % 8]
                    if args.method == 'output':
                        t = tmux.measure_output(k, literal=True)
                    else:
                        t = tmux.measure(k, literal=True)
                    if t is not None:
                        samples[(name, key)].append(t)
            if key == 'insert':
                for _, tmux in order:
                    tmux.send('Escape')
                    tmux.settle()
    finally:
        for tmux in sessions.values():
            tmux.close()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--editor', action='append', required=True, help='NAME:COMMAND')
    parser.add_argument('--file', required=True)
    parser.add_argument('--count', type=int, default=200, help='samples per key, editor and run')
    parser.add_argument('--runs', type=int, default=1,
                        help='runs, each with the editors started afresh; samples are pooled')
    parser.add_argument('--keys', default='j,x,dd,u,n,insert')
    parser.add_argument('--raw')
    parser.add_argument('--method', choices=['screen', 'output'], default='screen')
    parser.add_argument('--pin', help='processors for the tmux servers and editors (taskset '
                        'list); this script then runs on the others')
    args = parser.parse_args()
    if args.pin:
        wanted = set(range(os.cpu_count())) - parse_cpu_list(args.pin)
        if wanted:
            os.sched_setaffinity(0, wanted)
    editors = []
    for spec in args.editor:
        name, command = spec.split(':', 1)
        editors.append((name, command))
    keys = args.keys.split(',')
    samples = {(e, k): [] for e, _ in editors for k in keys}
    try:
        for run in range(args.runs):
            # Which editor starts first alternates too.
            run_once(args, editors if run % 2 == 0 else editors[::-1], keys, samples)
    except RuntimeError as error:
        print(f'error: {error}', file=sys.stderr)
        return 1
    if args.raw:
        with open(args.raw, 'w') as raw:
            for (name, key), values in samples.items():
                for v in values:
                    raw.write(f'{name}\t{key}\t{v * 1000:.3f}\n')
    for key in keys:
        for name, _ in editors:
            values = samples[(name, key)]
            if not values:
                print(f'{name}\t{key}\t0\t-\t-')
                continue
            print(f'{name}\t{key}\t{len(values)}\t{statistics.median(values) * 1000:.2f}\t'
                  f'{percentile(values, 99) * 1000:.2f}')
    return 0


if __name__ == '__main__':
    sys.exit(main())
