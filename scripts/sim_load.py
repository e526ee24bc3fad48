#!/usr/bin/env python3
"""Figures of orba-sim: start-up time, and CPU time per minute idle and with one application
connected that takes meters (UDP or TCP), read from /proc/PID/stat. Everything stays on 127.0.0.1.

    scripts/sim_load.py [--seconds 60] [--rate 20] [--tcp] [--sim build/bin/orba-sim]
"""
import argparse
import os
import re
import select
import socket
import statistics
import struct
import subprocess
import time

HERE = os.path.dirname(os.path.abspath(__file__))
TICKS = os.sysconf("SC_CLK_TCK")


def frame(msg_type, payload=b""):
    return b"\xa5\xa5" + struct.pack("<H", 6 + len(payload)) + bytes([msg_type, 0]) + payload


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS  # utime, stime


def rss_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        return int(re.search(r"VmRSS:\s+(\d+)", f.read()).group(1))


def start(sim, rate):
    began = time.monotonic()
    p = subprocess.Popen([sim, "--port", "0", "--meter-rate", str(rate)], stdout=subprocess.PIPE, text=True)
    line = p.stdout.readline()
    elapsed = time.monotonic() - began
    port = int(re.search(r"127\.0\.0\.1:(\d+)", line).group(1))
    return p, port, elapsed


def stop(p):
    p.terminate()
    p.wait(5)


class Client:
    """The application's side, reduced to what a meter display needs."""

    def __init__(self, port, tcp_meters):
        self.tcp = socket.create_connection(("127.0.0.1", port))
        self.udp = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        self.udp.bind(("127.0.0.1", 0))
        self.tcp_meters = tcp_meters
        self.buffer = b""
        self.datagrams = 0
        self.tcp.sendall(frame(20, b"\0\0" + struct.pack("<I", 0xFFFFFFFF)))
        if tcp_meters:
            self.tcp.sendall(frame(29, bytes([1, 0])))
        else:
            self.tcp.sendall(frame(11, struct.pack("<HB", self.udp.getsockname()[1], 1) + b"\0\0\0"))

    def take_frames(self, data):
        self.buffer += data
        while len(self.buffer) >= 4:
            start = self.buffer.find(b"\xa5\xa5")
            if start < 0:
                self.buffer = b""
                return
            self.buffer = self.buffer[start:]
            length = struct.unpack("<H", self.buffer[2:4])[0]
            if length < 6:  # shorter than any frame: a false sync, look past it
                self.buffer = self.buffer[1:]
                continue
            if len(self.buffer) < length:
                return
            if self.buffer[4] == 30:  # meter data: acknowledged, as the application does
                self.datagrams += 1
                self.tcp.sendall(frame(31))
            self.buffer = self.buffer[length:]

    def run(self, seconds):
        end = time.monotonic() + seconds
        next_ping = 0
        while (now := time.monotonic()) < end:
            if now >= next_ping:
                self.tcp.sendall(frame(21))
                next_ping = now + 2
            ready, _, _ = select.select([self.tcp, self.udp], [], [], 0.5)
            for s in ready:
                if s is self.udp:
                    data = self.udp.recv(2048)
                    self.datagrams += len(data) == 604
                else:
                    self.take_frames(self.tcp.recv(65536))


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--seconds", type=float, default=60)
    ap.add_argument("--rate", type=int, default=20)
    ap.add_argument("--tcp", action="store_true", help="meters inside MSG_METER_DATA frames")
    ap.add_argument("--sim", default=os.path.join(HERE, "..", "build", "bin", "orba-sim"))
    args = ap.parse_args()

    starts = []
    for _ in range(10):
        p, _, elapsed = start(args.sim, args.rate)
        starts.append(elapsed * 1000)
        stop(p)
    print(f"start-up until listening: median {statistics.median(starts):.1f} ms, max {max(starts):.1f} ms (10 runs)")

    p, port, _ = start(args.sim, args.rate)
    try:
        time.sleep(0.5)
        c0 = cpu_seconds(p.pid)
        time.sleep(args.seconds)
        idle = cpu_seconds(p.pid) - c0
        print(f"idle: {idle * 60 / args.seconds:.3f} s CPU per minute, {rss_kib(p.pid)} KiB resident")

        client = Client(port, args.tcp)
        client.run(1)  # the login and its state
        c0, d0 = cpu_seconds(p.pid), client.datagrams
        client.run(args.seconds)
        busy = cpu_seconds(p.pid) - c0
        rate = (client.datagrams - d0) / args.seconds
        kind = "TCP" if args.tcp else "UDP"
        print(f"one application, {kind} meters at {args.rate}/s: {busy * 60 / args.seconds:.3f} s CPU per minute "
              f"({busy / args.seconds * 100:.2f} % of one core), {rate:.1f} datagrams/s received, "
              f"{rss_kib(p.pid)} KiB resident")
    finally:
        stop(p)


if __name__ == "__main__":
    main()
