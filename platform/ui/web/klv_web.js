// The page's side of KLV graphics' windows, linked into every web program
// (emcc --js-library). The window threads call these (each runs on the
// page's own thread, the caller waiting for it); the page's thread draws
// each window's latest frame once an animation frame and hands the DOM's
// events to the windows (page_entry.cpp).
mergeInto(LibraryManager.library, {
  $klvPage: {
    windows: {},
    drawing: false,
    presentTimes: [],
    desktop: function() {
      var desktop = document.getElementById('klv-desktop');
      if (!desktop) {
        desktop = document.createElement('div');
        desktop.id = 'klv-desktop';
        document.body.appendChild(desktop);
      }
      return desktop;
    },
    deviceScale: function() { return window.devicePixelRatio || 1; },
    place: function(w) {
      var dpr = klvPage.deviceScale();
      w.frame.style.left = (w.left / dpr) + 'px';
      w.frame.style.top = (w.top / dpr) + 'px';
      w.canvas.width = w.width;
      w.canvas.height = w.height;
      w.canvas.style.width = (w.width * w.scale / dpr) + 'px';
      w.canvas.style.height = (w.height * w.scale / dpr) + 'px';
    },
    withStrings: function(texts, call) {
      var pointers = texts.map(function(text) {
        var size = lengthBytesUTF8(text) + 1, at = _malloc(size);
        stringToUTF8(text, at, size);
        return at;
      });
      try { call.apply(null, pointers); } finally { pointers.forEach(function(at) { _free(at); }); }
    },
    modifiers: function(e) {
      return (e.shiftKey ? 1 : 0) | (e.ctrlKey ? 2 : 0) | (e.altKey ? 4 : 0) | (e.repeat ? 8 : 0);
    },
    // Screen pixels (the window's scale) from the client area's top-left corner.
    position: function(w, e) {
      var r = w.canvas.getBoundingClientRect();
      return [Math.floor((e.clientX - r.left) * w.width * w.scale / r.width),
              Math.floor((e.clientY - r.top) * w.height * w.scale / r.height)];
    },
    listen: function(number, w) {
      var frame = w.frame, canvas = w.canvas;
      frame.addEventListener('keydown', function(e) {
        e.preventDefault();
        klvPage.withStrings([e.key, e.code], function(key, code) {
          _klv_page_key(number, 1, key, code, klvPage.modifiers(e));
        });
      });
      frame.addEventListener('keyup', function(e) {
        e.preventDefault();
        klvPage.withStrings([e.key, e.code], function(key, code) {
          _klv_page_key(number, 0, key, code, klvPage.modifiers(e));
        });
      });
      var buttons = [0, 2, 1];  // the DOM's left, middle, right as ours: left 0, right 1, middle 2
      var pointer = function(kind) {
        return function(e) {
          if (kind === 1) {
            frame.focus({preventScroll: true});
            if (e.button === 2 && e.shiftKey) {
              e.preventDefault();
              var where = klvPage.position(w, e);
              _klv_page_menu(number, where[0], where[1]);
              return;
            }
            canvas.setPointerCapture(e.pointerId);
          }
          var at = klvPage.position(w, e);
          _klv_page_pointer(number, kind, at[0], at[1], kind ? (buttons[e.button] !== undefined ? buttons[e.button] : 3) : 0,
                            e.buttons, klvPage.modifiers(e), e.timeStamp);
        };
      };
      canvas.addEventListener('pointerdown', pointer(1));
      canvas.addEventListener('pointerup', pointer(2));
      canvas.addEventListener('pointermove', pointer(0));
      canvas.addEventListener('contextmenu', function(e) { e.preventDefault(); });
      w.close.addEventListener('click', function() { _klv_page_close(number); });
    },
    draw: function() {
      for (var key in klvPage.windows) {
        var number = Number(key), w = klvPage.windows[key];
        var started = performance.now();
        var answer = _klv_page_frame_begin(number);
        if (!answer) continue;
        try {
          var f = HEAP32.subarray(answer >> 2, (answer >> 2) + 7);
          var at = f[0], width = f[1], height = f[2], left = f[3], top = f[4], right = f[5], bottom = f[6];
          if (w.canvas.width !== width || w.canvas.height !== height) { w.width = width; w.height = height; klvPage.place(w); }
          if (!w.image || w.image.width !== width || w.image.height !== height) w.image = new ImageData(width, height);
          var data = w.image.data, row = width * 4;
          if (left === 0 && right === width) {
            data.set(HEAPU8.subarray(at + top * row, at + bottom * row), top * row);  // whole rows: one copy
          } else {
            for (var y = top; y < bottom; ++y) {
              var from = at + y * row + left * 4;
              data.set(HEAPU8.subarray(from, from + (right - left) * 4), y * row + left * 4);
            }
          }
          w.context.putImageData(w.image, 0, 0, left, top, right - left, bottom - top);
          w.frames = (w.frames || 0) + 1;
          w.canvas.dataset.frames = String(w.frames);
          // How long showing a frame takes, for the page tests.
          klvPage.presentTimes.push(performance.now() - started);
          if (klvPage.presentTimes.length > 1000) klvPage.presentTimes.shift();
        } finally {
          _klv_page_frame_end(number);
        }
      }
      requestAnimationFrame(klvPage.draw);
    },
  },
  $klvPage__postset: 'if (typeof window !== "undefined") window.klvPage = klvPage;',

  klv_web_open__proxy: 'sync',
  klv_web_open__sig: 'viiiiiiii',
  klv_web_open__deps: ['$klvPage'],
  klv_web_open: function(number, dialog, left, top, width, height, scale, title) {
    var frame = document.createElement('div');
    frame.className = 'klv-frame' + (dialog ? ' klv-dialog' : '');
    frame.tabIndex = 0;
    frame.hidden = true;
    var bar = document.createElement('div');
    bar.className = 'klv-title';
    var name = document.createElement('span');
    name.textContent = UTF8ToString(title);
    var close = document.createElement('button');
    close.className = 'klv-close';
    close.title = 'Close';
    close.textContent = '\u2715';
    bar.append(name, close);
    var canvas = document.createElement('canvas');
    canvas.setAttribute(dialog ? 'data-klv-dialog' : 'data-klv-window', String(dialog ? -number - 1 : number));
    frame.append(bar, canvas);
    klvPage.desktop().appendChild(frame);
    var w = {frame: frame, canvas: canvas, title: name, close: close, context: canvas.getContext('2d'),
             left: left, top: top, width: width, height: height, scale: scale};
    klvPage.windows[number] = w;
    klvPage.place(w);
    klvPage.listen(number, w);
    if (!klvPage.drawing) { klvPage.drawing = true; requestAnimationFrame(klvPage.draw); }
  },

  klv_web_show__proxy: 'sync',
  klv_web_show__sig: 'vii',
  klv_web_show__deps: ['$klvPage'],
  klv_web_show: function(number, visible) {
    var w = klvPage.windows[number];
    if (!w) return;
    w.frame.hidden = !visible;
    if (visible) w.frame.focus({preventScroll: true});
  },

  klv_web_title__proxy: 'sync',
  klv_web_title__sig: 'vii',
  klv_web_title__deps: ['$klvPage'],
  klv_web_title: function(number, title) {
    var w = klvPage.windows[number];
    if (w) w.title.textContent = UTF8ToString(title);
  },

  klv_web_size__proxy: 'sync',
  klv_web_size__sig: 'viiii',
  klv_web_size__deps: ['$klvPage'],
  klv_web_size: function(number, width, height, scale) {
    var w = klvPage.windows[number];
    if (!w) return;
    w.width = width; w.height = height; w.scale = scale;
    klvPage.place(w);
  },

  klv_web_remove__proxy: 'sync',
  klv_web_remove__sig: 'vi',
  klv_web_remove__deps: ['$klvPage'],
  klv_web_remove: function(number) {
    var w = klvPage.windows[number];
    if (!w) return;
    w.frame.remove();
    delete klvPage.windows[number];
    var rest = Object.keys(klvPage.windows);
    if (rest.length) klvPage.windows[rest[rest.length - 1]].frame.focus({preventScroll: true});
  },

  klv_web_device_scale__proxy: 'sync',
  klv_web_device_scale__sig: 'i',
  klv_web_device_scale: function() {
    return Math.max(1, Math.min(3, Math.floor(typeof window === 'undefined' ? 1 : (window.devicePixelRatio || 1))));
  },

  klv_web_desktop_size__proxy: 'sync',
  klv_web_desktop_size__sig: 'ii',
  klv_web_desktop_size: function(which) {
    if (typeof window === 'undefined') return 0;
    var dpr = window.devicePixelRatio || 1;
    return Math.round((which ? window.innerHeight : window.innerWidth) * dpr);
  },

  // The system menu's popup: its picture on a canvas above the window, its
  // entries as a list for readers of the page.
  klv_web_menu_show__proxy: 'sync',
  klv_web_menu_show__sig: 'viiiiiiii',
  klv_web_menu_show__deps: ['$klvPage'],
  klv_web_menu_show: function(number, x, y, width, height, rgba, lines, selected) {
    var w = klvPage.windows[number];
    if (!w) return;
    var dpr = klvPage.deviceScale();
    if (!w.menu) {
      var menu = document.createElement('div');
      menu.className = 'klv-menu';
      var picture = document.createElement('canvas');
      var list = document.createElement('ul');
      list.setAttribute('role', 'menu');
      list.className = 'klv-menu-entries';
      menu.append(picture, list);
      w.frame.appendChild(menu);
      var at = function(e) {
        var r = picture.getBoundingClientRect();
        return [Math.floor((e.clientX - r.left) * picture.width / r.width),
                Math.floor((e.clientY - r.top) * picture.height / r.height)];
      };
      var send = function(kind) {
        return function(e) {
          e.preventDefault();
          e.stopPropagation();
          var p = at(e);
          _klv_page_menu_pointer(number, kind, p[0], p[1]);
        };
      };
      picture.addEventListener('pointerdown', send(1));
      picture.addEventListener('pointerup', send(2));
      picture.addEventListener('pointermove', send(0));
      picture.addEventListener('contextmenu', function(e) { e.preventDefault(); });
      w.outside = function(e) {
        if (!menu.contains(e.target)) _klv_page_menu_pointer(number, 1, -1, -1);
      };
      document.addEventListener('pointerdown', w.outside, true);
      w.menu = {element: menu, picture: picture, list: list, lines: ''};
    }
    var m = w.menu, text = UTF8ToString(lines);
    m.picture.width = width;
    m.picture.height = height;
    m.picture.style.width = (width / dpr) + 'px';
    m.picture.style.height = (height / dpr) + 'px';
    m.element.style.left = (w.canvas.offsetLeft + x / dpr) + 'px';
    m.element.style.top = (w.canvas.offsetTop + y / dpr) + 'px';
    var image = new ImageData(width, height);
    image.data.set(HEAPU8.subarray(rgba, rgba + width * height * 4));
    m.picture.getContext('2d').putImageData(image, 0, 0);
    if (m.lines !== text) {
      m.lines = text;
      m.list.replaceChildren();
      text.split('\n').slice(0, -1).forEach(function(line) {
        var item = document.createElement('li');
        item.setAttribute('role', line === '-' ? 'separator' : 'menuitem');
        item.textContent = line === '-' ? '' : line;
        m.list.appendChild(item);
      });
    }
    Array.prototype.forEach.call(m.list.children, function(item, i) {
      item.setAttribute('aria-selected', String(i === selected));
    });
    w.frame.focus({preventScroll: true});
  },

  klv_web_menu_hide__proxy: 'sync',
  klv_web_menu_hide__sig: 'vi',
  klv_web_menu_hide__deps: ['$klvPage'],
  klv_web_menu_hide: function(number) {
    var w = klvPage.windows[number];
    if (!w || !w.menu) return;
    document.removeEventListener('pointerdown', w.outside, true);
    w.menu.element.remove();
    w.menu = null;
  },

  klv_web_download__proxy: 'sync',
  klv_web_download__sig: 'vi',
  klv_web_download: function(path) {
    var name = UTF8ToString(path), data;
    try { data = FS.readFile(name); } catch (e) { return; }
    var a = document.createElement('a');
    a.download = name.split('/').pop();
    a.href = URL.createObjectURL(new Blob([data.slice()]));
    document.body.appendChild(a);
    a.click();
    a.remove();
    setTimeout(function() { URL.revokeObjectURL(a.href); }, 60000);
  },

  // Printing: the layout stays in the document, shown only in print media,
  // until the next print command.
  klv_web_print_begin__proxy: 'sync',
  klv_web_print_begin__sig: 'v',
  klv_web_print_begin: function() {
    var old = document.getElementById('klv-print');
    if (old) old.remove();
    var sheet = document.createElement('div');
    sheet.id = 'klv-print';
    document.body.appendChild(sheet);
  },

  klv_web_print_text__proxy: 'sync',
  klv_web_print_text__sig: 'viii',
  klv_web_print_text: function(x, y, text) {
    var line = document.createElement('div');
    line.className = 'klv-print-text';
    line.style.left = x + 'px';
    line.style.top = y + 'px';
    line.textContent = UTF8ToString(text);
    document.getElementById('klv-print').appendChild(line);
  },

  klv_web_print_image__proxy: 'sync',
  klv_web_print_image__sig: 'viiiiiii',
  klv_web_print_image: function(x, y, width, height, rgba, sourceWidth, sourceHeight) {
    var canvas = document.createElement('canvas');
    canvas.width = sourceWidth;
    canvas.height = sourceHeight;
    var image = new ImageData(sourceWidth, sourceHeight);
    image.data.set(HEAPU8.subarray(rgba, rgba + sourceWidth * sourceHeight * 4));
    canvas.getContext('2d').putImageData(image, 0, 0);
    var img = document.createElement('img');
    img.className = 'klv-print-image';
    img.src = canvas.toDataURL('image/png');
    img.style.left = x + 'px';
    img.style.top = y + 'px';
    img.style.width = width + 'px';
    img.style.height = height + 'px';
    document.getElementById('klv-print').appendChild(img);
  },

  klv_web_print_end__proxy: 'sync',
  klv_web_print_end__sig: 'vi',
  klv_web_print_end: function(name) {
    var title = document.title, job = UTF8ToString(name);
    document.title = job;
    document.body.dataset.klvPrintJob = job;
    // After this call returns: the dialog may hold the page's thread.
    setTimeout(function() {
      window.print();
      document.title = title;
    }, 0);
  },
});
