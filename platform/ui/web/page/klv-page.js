// A program's page: makes the page cross-origin isolated (shared memory),
// puts the files named in the address (?files=a.png,b.bmp) and the files a
// user drops or picks into the program's folder, lists the files it saves
// as downloads, and shows how it ended (document.body.dataset.klvExit).
(function() {
  var here = document.currentScript;
  var program = here.dataset.program;
  var params = new URLSearchParams(location.search);
  var folder = '/home/web_user';
  var status = function(text) { var s = document.getElementById('klv-status'); if (s) s.textContent = text; };

  if (!self.crossOriginIsolated) {
    if ('serviceWorker' in navigator && !params.has('klv-isolated')) {
      navigator.serviceWorker.register('klv-isolation.js').then(function() {
        return navigator.serviceWorker.ready;
      }).then(function() {
        params.set('klv-isolated', '1');
        location.replace(location.pathname + '?' + params.toString() + location.hash);
      });
      status('Preparing the page…');
    } else {
      status('This page needs the headers Cross-Origin-Opener-Policy: same-origin and ' +
             'Cross-Origin-Embedder-Policy: require-corp (or a service worker) to run.');
    }
    return;
  }

  var saved = {};
  var links = {};
  function noteSaved(path) {
    if (!path || path.lastIndexOf(folder + '/', 0) !== 0) return;
    var name = path.slice(folder.length + 1);
    if (name.indexOf('/') >= 0 || name.charAt(0) === '.') return;  // a file being written beside it
    var data;
    try { data = FS.readFile(path); } catch (e) { return; }
    var list = document.querySelector('#klv-files ul');
    document.getElementById('klv-files').hidden = false;
    var a = links[name];
    if (!a) {
      var item = document.createElement('li');
      a = document.createElement('a');
      a.download = name;
      a.textContent = name;
      item.appendChild(a);
      list.appendChild(item);
      links[name] = a;
    } else {
      URL.revokeObjectURL(a.href);
    }
    a.href = URL.createObjectURL(new Blob([data.slice()]));
    saved[name] = true;
  }
  function watchFiles() {
    var close = FS.close, rename = FS.rename;
    FS.close = function(stream) {
      var writing = (stream.flags & 3) !== 0, path = stream.path;
      var result = close.apply(this, arguments);
      if (writing) noteSaved(path);
      return result;
    };
    FS.rename = function(from, to) {
      var result = rename.apply(this, arguments);
      noteSaved(FS.lookupPath(to).path || to);
      return result;
    };
  }
  // A file named in the address keeps its folders below the program's
  // (docs/pie-chart.png); a dropped or picked one is put there by its name.
  function put(name, bytes, keepFolders) {
    var parts = name.split(/[\\/]/).filter(function(p) { return p && p !== '.'; });
    if (!keepFolders) parts = parts.slice(-1);
    if (!parts.length || parts.indexOf('..') >= 0) return;
    if (parts.length > 1) FS.mkdirTree(folder + '/' + parts.slice(0, -1).join('/'));
    FS.writeFile(folder + '/' + parts.join('/'), new Uint8Array(bytes));
  }

  var waiting = [];  // files fetched or picked before the file system is there
  var ready = false;
  function putWhenReady(name, bytes) { if (ready) put(name, bytes, false); else waiting.push([name, bytes, false]); }
  function takeFiles(files) {
    Array.prototype.forEach.call(files, function(file) {
      file.arrayBuffer().then(function(bytes) { putWhenReady(file.name, bytes); });
    });
  }
  document.addEventListener('dragover', function(e) { e.preventDefault(); });
  document.addEventListener('drop', function(e) { e.preventDefault(); takeFiles(e.dataTransfer.files); });
  var input = document.getElementById('klv-file-input');
  if (input) input.addEventListener('change', function() { takeFiles(input.files); });

  var named = (params.get('files') || '').split(',').filter(function(n) { return n; });
  var fetched = Promise.all(named.map(function(name) {
    return fetch(name).then(function(r) {
      if (!r.ok) throw new Error(name + ': ' + r.status);
      return r.arrayBuffer();
    }).then(function(bytes) { waiting.push([name, bytes, true]); }, function(e) { console.error('klv: ' + e.message); });
  }));

  var started = performance.now();
  window.Module = {
    locateFile: function(path, prefix) {
      return path.lastIndexOf('klv-fonts', 0) === 0 ? 'klv-web/' + path : prefix + path;
    },
    preRun: [function() {
      try { FS.mkdirTree(folder); } catch (e) {}
      FS.chdir(folder);
      var scale = params.get('scale');
      if (scale) ENV.KLV_SCALE = scale;
      ready = true;
      waiting.splice(0).forEach(function(f) { put(f[0], f[1], f[2]); });
      watchFiles();
      status('Running');
    }],
    print: function(text) { console.log(text); },
    printErr: function(text) { console.error(text); },
    onExit: function(code) {
      document.body.dataset.klvExit = String(code);
      status('The program ended with status ' + code + '.');
    },
  };
  window.klvStarted = started;
  fetched.then(function() {
    var fonts = document.createElement('script');
    fonts.src = 'klv-web/klv-fonts.js';
    fonts.onload = function() {
      var main = document.createElement('script');
      main.src = program;
      document.head.appendChild(main);
    };
    document.head.appendChild(fonts);
  });
})();
