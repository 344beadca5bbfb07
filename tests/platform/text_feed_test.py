"""The text feed with real clients: Python's websockets and headless Chromium get the
demo's paragraphs (as the text output has them) and its choices in order, a client
that never reads holds up nobody, a page of another origin is refused and the reader
told, and a port in use leaves the reader reading.
Arguments: the program, the demo novel and its event list."""
import asyncio
import http.server
import json
import os
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time
import unittest

import websockets  # Debian's python3-websockets, which make test installs

YOMU, DEMO, DEMO_EVENTS = sys.argv[1:4]
CHROMIUM = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
            '--disable-background-networking', '--disable-component-update', '--disable-sync']


def free_port():
    with socket.socket() as probe:
        probe.bind(('127.0.0.1', 0))
        return probe.getsockname()[1]


def demo_events():
    with open(DEMO_EVENTS, encoding='utf-8') as events:
        return ''.join(line for line in events if not line.startswith('screenshot'))


class Reader:
    """The headless reader on the demo, its feed on port and its text output in a
    file, running while the block runs."""

    def __init__(self, port, events):
        self.folder = tempfile.TemporaryDirectory()
        self.file = lambda name: os.path.join(self.folder.name, name)
        with open(self.file('events'), 'w', encoding='utf-8') as out:
            out.write(events)
        self.command = [YOMU, '--headless', '--events=' + self.file('events'), '--text-out=' +
                        self.file('text-out'), f'--text-feed=127.0.0.1:{port}', DEMO]

    def __enter__(self):
        with open(self.file('log'), 'w') as log, open(self.file('errors'), 'w') as errors:
            self.process = subprocess.Popen(self.command, stdout=log, stderr=errors)
        return self

    def __exit__(self, *failure):
        self.status = self.process.wait(timeout=60)
        with open(self.file('log'), encoding='utf-8') as log, open(self.file('errors')) as errors:
            self.records = [line.split(' ', 1)[1] for line in log.read().splitlines()]
            self.errors = errors.read()
        with open(self.file('text-out'), encoding='utf-8') as text_out:
            self.text_out = text_out.read().splitlines()
        self.folder.cleanup()


async def connect(port, **options):
    for _ in range(100):
        try:
            return await websockets.connect(f'ws://127.0.0.1:{port}', **options)
        except OSError:
            await asyncio.sleep(0.1)
    raise AssertionError('the feed never listened')


class TextFeed(unittest.TestCase):
    def assertDemoFrames(self, frames, reader):
        self.assertEqual(reader.status, 0, reader.errors)
        lists = {}
        for chapter in ('第二章', '第三章'):
            with open(os.path.join(DEMO, chapter + '.txt'), encoding='cp932') as script:
                lists[chapter] = [line.replace('"', ' ').strip()
                                  for line in script if line[:2] in ('0"', '1"')]
        shown = lists['第二章'] + lists['第三章']
        # The title card appears as the reader starts, mostly before a client connects.
        paragraphs = [frame for frame in frames if frame not in shown]
        self.assertIn(paragraphs, (reader.text_out, reader.text_out[1:]))
        # The events choose in the second chapter, then twice in the third, whose
        # choice 1 reads it again.
        self.assertEqual([frame for frame in frames if frame in shown], shown + lists['第三章'])

    def test_all_in_order_a_stalled_client_holds_up_nobody_a_foreign_page_is_refused(self):
        port = free_port()

        async def read_with_a_stalled_client():
            reads = await connect(port)
            with self.assertRaises(websockets.exceptions.InvalidStatusCode):
                await connect(port, origin='http://evil.example')
            # A socket that takes a few KB, and a client that reads none of them.
            stalled = socket.create_connection(('127.0.0.1', port))
            stalled.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 4096)
            never_reads = await connect(port, sock=stalled, max_queue=1, read_limit=1024)
            frames = [frame async for frame in reads]
            never_reads.transport.abort()
            return frames

        with Reader(port, 'feed clients 2\n' + demo_events()) as reader:
            frames = asyncio.run(asyncio.wait_for(read_with_a_stalled_client(), 60))
        self.assertDemoFrames(frames, reader)
        self.assertIn('text feed refused a page of http://evil.example', reader.errors)

    def test_a_browser_page_gets_them_through_its_own_websocket(self):
        posted = []

        class Page(http.server.SimpleHTTPRequestHandler):
            def __init__(self, *arguments):
                super().__init__(*arguments, directory=os.path.dirname(os.path.abspath(__file__)))

            def do_POST(self):
                posted.append(json.loads(self.rfile.read(int(self.headers['Content-Length']))))
                self.send_response(204)
                self.end_headers()

            def log_message(self, *arguments):
                pass

        server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), Page)
        threading.Thread(target=server.serve_forever, daemon=True).start()
        port = free_port()
        page = f'http://127.0.0.1:{server.server_address[1]}/text_feed_page.html?port={port}'
        with Reader(port, 'feed clients 1\n' + demo_events()) as reader, \
                tempfile.TemporaryDirectory(ignore_cleanup_errors=True) as profile:
            browser = subprocess.Popen(['chromium', *CHROMIUM, '--user-data-dir=' + profile, page],
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                       start_new_session=True)
            for _ in range(600):
                if posted:
                    break
                time.sleep(0.1)
            os.killpg(browser.pid, signal.SIGTERM)
            browser.wait(timeout=10)
        server.shutdown()
        server.server_close()
        self.assertTrue(posted, 'the page never reported')
        self.assertDemoFrames(posted[0], reader)

    def test_a_port_in_use_leaves_the_reader_reading(self):
        with socket.create_server(('127.0.0.1', 0)) as taken:
            port = taken.getsockname()[1]
            with Reader(port, 'click 1 1\nwait 2000\n') as reader:
                pass
        self.assertEqual(reader.status, 0)
        self.assertEqual(reader.errors,
                         f'yomu: no text feed: 127.0.0.1:{port} is in use by another program\n')
        self.assertGreater(len(reader.text_out), 1)


if __name__ == '__main__':
    unittest.main(argv=sys.argv[:1], verbosity=2)
