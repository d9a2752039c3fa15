// page.js -- the page's side of the browser backend (platform/display_web*.cpp),
// run before the program starts: the canvas and its scaling, the keyboard and
// mouse queued for the game's pump, the clock and the waits that hand control
// back to the browser, the saved files kept in the browser's storage, and
// screenshots offered as downloads.
//
// URL parameters for measuring and tests: pilot=1 or pilot=turbo lets the
// automatic pilot play (as HALVANE_PILOT does on the desktop); clock=N starts
// the game's clock at N seconds, so a run seeded from it repeats.
'use strict';

var HalvanePage = {
    canvas: null,
    context: null,
    image: null,
    keyCodes: new Map(), // KeyboardEvent.code -> set-1 scan code, from the game
    events: [],          // four numbers an event, taken by the game's pump
    swallowed: '',       // the Enter of an Alt+Enter, until it is let go
    mouseWanted: false,  // the game reads the mouse: a click locks the pointer
    hadGesture: false,   // a key press or click came: the page may sound
    soundsMade: false,   // the sound files are in Sound/
    pageScale: 1,        // CSS pixels per page pixel
    clockBase: null,     // clock=N: N seconds at the first reading
    wakers: [],
    channel: new MessageChannel(),
    // Figures for the measuring tools: when the first page reached the
    // canvas, pages put and the time spent putting them into the canvas, and
    // the sound mixed (the game's own work is the program's: frameWork).
    stats: {firstPut: -1, puts: 0, uploadMs: 0, uploadFrom: 0, soundBuffers: 0,
            audibleBuffers: 0, soundMs: 0, putTimes: []},
    keptFiles: ['hs.dat', 'setup.dat'], // Data/ files that outlive the page
    savedFolder: '/saved',
    gameFolder: '/game',
    syncing: false,
    syncAgain: false,
};

HalvanePage.channel.port1.onmessage = function () {
    var wake = HalvanePage.wakers.shift();
    if (wake) wake();
};

// --- The canvas ----------------------------------------------------------

HalvanePage.open = function () {
    var canvas = document.getElementById('page');
    var context = canvas ? canvas.getContext('2d', {alpha: false}) : null;
    if (!context) return 0;
    HalvanePage.canvas = canvas;
    HalvanePage.context = context;
    HalvanePage.place();
    return 1;
};

// The upload's time (the page's conversion and this) is the display's, not
// the game's: the measuring mode keeps it apart.
HalvanePage.uploadStarts = function () {
    HalvanePage.stats.uploadFrom = performance.now();
};

// The picture is the program's own bytes, not a copy of them; it is made
// again when the program's memory grows (which replaces its buffer).
HalvanePage.put = function (rgba) {
    var s = HalvanePage.stats;
    var image = HalvanePage.image;
    if (image === null || image.data.buffer !== HEAPU8.buffer || image.data.byteOffset !== rgba) {
        image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, rgba, 640 * 480 * 4), 640, 480);
        HalvanePage.image = image;
    }
    HalvanePage.context.putImageData(image, 0, 0);
    var now = performance.now();
    if (s.firstPut < 0) s.firstPut = now;
    s.puts++;
    if (HalvanePage.keepPutTimes && s.putTimes.length < 20000) s.putTimes.push(now);
    s.uploadMs += now - s.uploadFrom;
};

// The largest whole scale of device pixels that fits above the line of keys,
// centred; a window smaller than the page shows it smaller, its shape kept.
HalvanePage.place = function () {
    var canvas = HalvanePage.canvas;
    if (!canvas) return;
    var line = document.getElementById('keys');
    var ratio = window.devicePixelRatio || 1;
    var width = window.innerWidth * ratio;
    var height = (window.innerHeight - (line ? line.offsetHeight : 0)) * ratio;
    var fit = Math.min(width / 640, height / 480);
    var scale = fit >= 1 ? Math.floor(fit) : Math.max(fit, 0.01);
    canvas.style.width = (640 * scale) / ratio + 'px';
    canvas.style.height = (480 * scale) / ratio + 'px';
    HalvanePage.pageScale = scale / ratio;
};

HalvanePage.toggleFullScreen = function () {
    if (document.fullscreenElement) {
        document.exitFullscreen().catch(function () {});
    } else if (document.documentElement.requestFullscreen) {
        document.documentElement.requestFullscreen().catch(function () {});
    }
};

HalvanePage.ended = function (code) {
    var line = document.getElementById('keys');
    if (line) line.textContent = 'The game has ended. Reload the page to play again.';
    if (document.pointerLockElement) document.exitPointerLock();
    HalvanePage.stats.endedWith = code;
};

// --- Time --------------------------------------------------------------------

HalvanePage.clock = function () {
    var now = performance.now();
    if (HalvanePage.clockBase !== null) {
        if (HalvanePage.clockStart === undefined) HalvanePage.clockStart = now;
        return HalvanePage.clockBase + (now - HalvanePage.clockStart) / 1000;
    }
    return (performance.timeOrigin + now) / 1000;
};

// The game's own work in its paced frames so far, as the program measures
// it (platform/frame_work.h): milliseconds and frames.
HalvanePage.frameWork = function () {
    return {ms: _halvane_frame_work_ms(), frames: _halvane_frame_work_frames()};
};
// The frames a second that the game's F read-out shows.
HalvanePage.fpsReadout = function () {
    return _halvane_fps_readout();
};

// A turn of the browser's event loop without the delay that timers add.
HalvanePage.nextTurn = function () {
    return new Promise(function (wake) {
        HalvanePage.wakers.push(wake);
        HalvanePage.channel.port2.postMessage(0);
    });
};

HalvanePage.yieldOnce = async function () {
    await HalvanePage.nextTurn();
};

// Timers come late in browsers (nested ones at least 4 ms late, and any of
// them while the page is being drawn), so a sleep gives the browser all but
// its last few milliseconds, and spends those watching the clock: the paced
// loops then keep their rates.
HalvanePage.sleep = async function (ms) {
    var end = performance.now() + ms;
    if (ms > 4) {
        await new Promise(function (wake) {
            setTimeout(wake, ms - 4);
        });
    } else {
        await HalvanePage.nextTurn();
    }
    while (performance.now() < end) {
    }
};

// The browser's next refresh; a hidden page has none, so a timer stands in.
HalvanePage.nextFrame = async function () {
    await new Promise(function (wake) {
        var timer = setTimeout(wake, 100);
        requestAnimationFrame(function () {
            clearTimeout(timer);
            wake();
        });
    });
};

// --- Sound -------------------------------------------------------------------

// Buffers of mixed sound queued, and how many of them were not silent.
HalvanePage.soundStarts = function () {
    HalvanePage.stats.soundFrom = performance.now();
};
HalvanePage.countSound = function (audible) {
    HalvanePage.stats.soundMs += performance.now() - HalvanePage.stats.soundFrom;
    HalvanePage.stats.soundBuffers++;
    if (audible) HalvanePage.stats.audibleBuffers++;
};

// The sounds are made by the sound tool (built for the browser, in a worker,
// while the game starts) and put into Sound/, as the game's files would be;
// the sound backend reads them from there once they are all in. Without them
// the game plays silently.
HalvanePage.makeSounds = function () {
    if (typeof Worker === 'undefined') return;
    var worker = new Worker('sounds_worker.js');
    var done = function () {
        worker.terminate();
    };
    worker.onmessage = function (e) {
        FS.mkdirTree(HalvanePage.gameFolder + '/Sound');
        Object.keys(e.data).forEach(function (name) {
            FS.writeFile(HalvanePage.gameFolder + '/Sound/' + name, e.data[name]);
        });
        HalvanePage.soundsMade = true;
        done();
    };
    worker.onerror = function (e) {
        e.preventDefault();
        console.warn('halvane: the sounds could not be made (' + e.message + '); playing silently');
        done();
    };
};

// --- Input -------------------------------------------------------------------

HalvanePage.gesture = function () {
    HalvanePage.hadGesture = true;
};

HalvanePage.push = function (kind, a, b) {
    // A game that stopped taking input (it ended) leaves no queue growing.
    if (HalvanePage.events.length < 4 * 4096) HalvanePage.events.push(kind, a | 0, b | 0, 0);
};

HalvanePage.take = function (out, maxEvents) {
    var events = HalvanePage.events;
    var count = Math.min(maxEvents, events.length / 4);
    HEAP32.set(events.slice(0, count * 4), out >> 2);
    events.splice(0, count * 4);
    return count;
};

HalvanePage.isEnter = function (code) {
    return code === 'Enter' || code === 'NumpadEnter';
};

window.addEventListener('keydown', function (e) {
    HalvanePage.gesture();
    if (e.altKey && HalvanePage.isEnter(e.code)) {
        // Alt+Enter is the page's own key: its Enter never reaches the game.
        e.preventDefault();
        if (!e.repeat) {
            HalvanePage.swallowed = e.code;
            HalvanePage.toggleFullScreen();
        }
        return;
    }
    if (e.code === HalvanePage.swallowed) {
        e.preventDefault();
        return;
    }
    var code = HalvanePage.keyCodes.get(e.code);
    if (code === undefined) return;
    // The game's keys never scroll or act on the page; the browser keeps
    // its shortcuts with Ctrl or Cmd and its function keys.
    if (!e.ctrlKey && !e.metaKey && !/^F[0-9]+$/.test(e.code)) e.preventDefault();
    HalvanePage.push(1, code, e.repeat ? 1 : 0);
});

window.addEventListener('keyup', function (e) {
    if (e.code === HalvanePage.swallowed) {
        HalvanePage.swallowed = '';
        e.preventDefault();
        return;
    }
    var code = HalvanePage.keyCodes.get(e.code);
    if (code === undefined) return;
    if (!e.ctrlKey && !e.metaKey && !/^F[0-9]+$/.test(e.code)) e.preventDefault();
    HalvanePage.push(2, code, 0);
});

HalvanePage.locked = function () {
    return document.pointerLockElement === HalvanePage.canvas && HalvanePage.canvas !== null;
};

HalvanePage.buttonBit = function (button) {
    return button === 0 ? 1 : button === 2 ? 2 : button === 1 ? 4 : 0;
};

HalvanePage.listenToMouse = function (canvas) {
    canvas.addEventListener('mousemove', function (e) {
        var scale = HalvanePage.pageScale;
        if (HalvanePage.locked()) {
            HalvanePage.push(4, (e.movementX / scale) * 256, (e.movementY / scale) * 256);
        } else {
            var box = canvas.getBoundingClientRect();
            HalvanePage.push(3, ((e.clientX - box.left) / scale) * 256,
                             ((e.clientY - box.top) / scale) * 256);
        }
    });
    canvas.addEventListener('mousedown', function (e) {
        e.preventDefault();
        HalvanePage.gesture();
        if (HalvanePage.mouseWanted && !HalvanePage.locked() && canvas.requestPointerLock) {
            canvas.requestPointerLock();
        }
        var bit = HalvanePage.buttonBit(e.button);
        if (bit) HalvanePage.push(5, bit, 0);
    });
    window.addEventListener('mouseup', function (e) {
        var bit = HalvanePage.buttonBit(e.button);
        if (bit) HalvanePage.push(6, bit, 0);
    });
    canvas.addEventListener('wheel', function (e) {
        e.preventDefault();
        if (e.deltaY !== 0) HalvanePage.push(7, e.deltaY < 0 ? 1 : -1, 0);
    }, {passive: false});
    canvas.addEventListener('contextmenu', function (e) {
        e.preventDefault();
    });
    // In flight with the pointer locked, two quick clicks are the player's.
    canvas.addEventListener('dblclick', function () {
        if (!HalvanePage.locked()) HalvanePage.toggleFullScreen();
    });
};

window.addEventListener('blur', function () {
    HalvanePage.push(8, 0, 0);
    HalvanePage.swallowed = '';
});
document.addEventListener('visibilitychange', function () {
    if (document.hidden) HalvanePage.push(8, 0, 0);
});
window.addEventListener('resize', function () {
    HalvanePage.place();
});

// --- Files ---------------------------------------------------------------

HalvanePage.absolute = function (path) {
    return path.charAt(0) === '/' ? path : FS.cwd().replace(/\/$/, '') + '/' + path;
};

// The game wrote `path`: a kept Data/ file goes to the browser's storage, a
// screenshot to the player as a download.
HalvanePage.fileWritten = function (path) {
    path = HalvanePage.absolute(path);
    var data = HalvanePage.gameFolder + '/Data/';
    if (path.indexOf(data) === 0 && HalvanePage.keptFiles.indexOf(path.slice(data.length)) >= 0) {
        var name = path.slice(data.length);
        try {
            FS.writeFile(HalvanePage.savedFolder + '/' + name, FS.readFile(path));
        } catch (e) {
            console.error('halvane: cannot keep Data/' + name + ': ' + e);
            return;
        }
        HalvanePage.keep();
    } else if (/^\/game\/screenshot[0-9]+\.bmp$/.test(path)) {
        HalvanePage.download(path);
    }
};

// Writes the kept files to the browser's storage, one write at a time; a
// failure is told on the console and the game plays on.
HalvanePage.keep = function () {
    if (HalvanePage.syncing) {
        HalvanePage.syncAgain = true;
        return;
    }
    HalvanePage.syncing = true;
    FS.syncfs(false, function (error) {
        HalvanePage.syncing = false;
        if (error) console.error('halvane: the best score could not be kept in this browser: ' + error);
        else HalvanePage.stats.kept = (HalvanePage.stats.kept || 0) + 1;
        if (HalvanePage.syncAgain) {
            HalvanePage.syncAgain = false;
            HalvanePage.keep();
        }
    });
};

HalvanePage.download = function (path) {
    var name = path.slice(path.lastIndexOf('/') + 1);
    var url = URL.createObjectURL(new Blob([FS.readFile(path)], {type: 'image/bmp'}));
    var link = document.createElement('a');
    link.href = url;
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(function () {
        URL.revokeObjectURL(url);
    }, 10000);
};

// Before the program starts: the saved files come back from the browser's
// storage (the program waits for them), and the URL's measuring switches
// become the environment the program reads.
Module.preRun = Module.preRun || [];
Module.preRun.push(function () {
    var params = new URLSearchParams(window.location.search);
    var pilot = params.get('pilot');
    if (pilot) ENV.HALVANE_PILOT = pilot;
    HalvanePage.keepPutTimes = pilot !== null;
    var clock = params.get('clock');
    if (clock !== null && isFinite(Number(clock))) HalvanePage.clockBase = Number(clock);

    HalvanePage.makeSounds();
    FS.mkdir(HalvanePage.savedFolder);
    FS.mount(IDBFS, {}, HalvanePage.savedFolder);
    addRunDependency('halvane-saved');
    FS.syncfs(true, function (error) {
        if (error) console.warn('halvane: no saved files in this browser: ' + error);
        removeRunDependency('halvane-saved');
    });
});

Module.onRuntimeInitialized = function () {
    HalvanePage.keptFiles.forEach(function (name) {
        var saved = HalvanePage.savedFolder + '/' + name;
        if (FS.analyzePath(saved).exists) {
            FS.writeFile(HalvanePage.gameFolder + '/Data/' + name, FS.readFile(saved));
        }
    });
    FS.chdir(HalvanePage.gameFolder);
    // The game replaces the best score by a rename and writes screenshots
    // straight; both end here.
    var rename = FS.rename;
    FS.rename = function (from, to) {
        rename(from, to);
        HalvanePage.fileWritten(to);
    };
    var close = FS.close;
    FS.close = function (stream) {
        var path = stream.path;
        var written = (stream.flags & 3) !== 0; // O_WRONLY or O_RDWR
        close(stream);
        if (written && path) HalvanePage.fileWritten(path);
    };
    var canvas = document.getElementById('page');
    if (canvas) HalvanePage.listenToMouse(canvas);
};
