// sounds_worker.js -- makes the game's sounds away from the page's thread:
// runs the sound tool (tools/sounds, built for the browser as
// halvane_sounds.js) into a folder of its own, then hands the page every
// file it wrote (page.js puts them into Sound/).
'use strict';

var Module = {
    arguments: ['/sounds'],
    preRun: [function () {
        FS.mkdir('/sounds');
    }],
    postRun: [function () {
        var files = {};
        var transfer = [];
        FS.readdir('/sounds').forEach(function (name) {
            if (name === '.' || name === '..') return;
            var bytes = FS.readFile('/sounds/' + name);
            files[name] = bytes;
            transfer.push(bytes.buffer);
        });
        postMessage(files, transfer);
    }],
    print: function () {},
    printErr: function (line) {
        console.warn(line);
    },
};

importScripts('halvane_sounds.js');
