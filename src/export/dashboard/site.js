"use strict";
(function () {
  var CODES = "0123456789.*,-@!$bnqduw#&|";
  var COLOURS = {"0": 0, "8": 0, "@": 0, "1": 1, "9": 1, q: 1, "2": 2, "*": 2, b: 2, "3": 3,
    "#": 3, "4": 4, ",": 4, d: 4, "|": 4, "5": 5, "-": 5, u: 5, "6": 6, ".": 6, "&": 6, n: 6};
  function isCode(c) { return c !== undefined && CODES.indexOf(c.toLowerCase()) >= 0; }
  function colourOf(c) { var k = COLOURS[c.toLowerCase()]; return k === undefined ? 7 : k; }
  function visible(text) {
    var out = "";
    for (var i = 0; i < text.length; i++) {
      if (text[i] === "^" && isCode(text[i + 1])) { i++; continue; }
      out += text[i];
    }
    return out;
  }
  // A name as the pages write it: a row of codes is its last code, no span is empty, and with
  // `shorten` a name of more than SHOWN characters shows its first ones and an ellipsis, the
  // whole name in its title.
  var SHOWN = 40;
  function nameNode(text, shorten) {
    var outer = document.createElement("span"), runs = [], run = "", colour = -1, count = 0;
    outer.className = "name";
    function flush() { if (run) { runs.push([colour, Array.from(run)]); count += runs[runs.length - 1][1].length; run = ""; } }
    for (var i = 0; i < text.length; i++) {
      if (text[i] === "^" && isCode(text[i + 1])) { flush(); colour = colourOf(text[i + 1]); i++; continue; }
      run += text[i];
    }
    flush();
    var left = shorten && count > SHOWN ? SHOWN : Infinity, open = -2, span = outer;
    runs.forEach(function (r) {
      if (left <= 0) return;
      var chars = r[1].length > left ? r[1].slice(0, left) : r[1];
      left -= chars.length;
      if (r[0] !== open) {
        open = r[0];
        span = outer;
        if (r[0] >= 0) {
          span = document.createElement("span");
          span.className = "c" + r[0];
          outer.appendChild(span);
        }
      }
      span.appendChild(document.createTextNode(chars.join("")));
    });
    if (left !== Infinity) {
      outer.title = visible(text);
      outer.appendChild(document.createTextNode("\u2026"));
    }
    return outer;
  }
  // A numbered series of pages as the site lays them out: "folder|stem|levels|per folder".
  function seriesPath(form, number) {
    var f = form.split("|"), levels = Number(f[2]), per = Number(f[3]), path = f[0] + "/";
    var scale = Math.pow(per, levels);
    for (var level = 0; level < levels; level++) {
      path += Math.floor(number / scale) % per + "/";
      scale /= per;
    }
    return path + f[1] + number + ".html";
  }
  // [address, name] links to the player's page; [id, name, page] to his row on that list page.
  function playerHref(table, value) {
    var root = table.getAttribute("data-root") || "";
    if (value.length < 3) return root + table.getAttribute("data-players") + "/" + value[0] + ".html";
    var id = Number(value[0]);
    var page = Number(value[2]);
    return root + (page <= 1 ? "index.html" : seriesPath(table.getAttribute("data-list"), page)) +
      "#p" + id;
  }
  function compare(a, b) { return a < b ? -1 : a > b ? 1 : 0; }
  function columnsOf(table) {
    return Array.prototype.map.call(table.tHead.rows[0].cells, function (th) {
      return th.getAttribute("data-type") || "text";
    });
  }
  // The key a column sorts by: numbers as numbers, everything else by its visible text.
  function keyOf(type, value) {
    if (type === "num") return Number(value);
    if (type === "player") return visible(value[1]).toLowerCase();
    if (type === "name") return visible(String(value)).toLowerCase();
    return String(value).toLowerCase();
  }
  function domKey(type, cell) {
    var text = cell.textContent;
    if (type === "num") return text === "" ? -Infinity : Number(text);
    return text.toLowerCase();
  }
  function nextDirection(th, type) {
    var now = th.getAttribute("aria-sort");
    if (now === "ascending") return "descending";
    if (now === "descending") return "ascending";
    return type === "num" ? "descending" : "ascending";
  }
  function makeHeaders(table, onSort) {
    var types = columnsOf(table);
    Array.prototype.forEach.call(table.tHead.rows[0].cells, function (th, col) {
      var button = document.createElement("button");
      button.type = "button";
      while (th.firstChild) button.appendChild(th.firstChild);
      th.appendChild(button);
      button.addEventListener("click", function () {
        var direction = nextDirection(th, types[col]);
        Array.prototype.forEach.call(table.tHead.rows[0].cells, function (other) {
          other.removeAttribute("aria-sort");
        });
        th.setAttribute("aria-sort", direction);
        onSort(col, direction === "ascending" ? 1 : -1);
      });
    });
    return types;
  }
  function sortItems(items, col, sign) {
    items.sort(function (a, b) { return sign * compare(a.keys[col], b.keys[col]) || a.at - b.at; });
  }
  function searchBox(table) {
    var input = document.querySelector('input[data-table="' + table.id + '"]');
    if (!input) return null;
    input.closest(".search").hidden = false;
    return input;
  }

  // A table whose rows are all in the page as HTML.
  function domTable(table) {
    var body = table.tBodies[0];
    var types, items = Array.prototype.map.call(body.rows, function (tr, at) {
      return {tr: tr, at: at, text: tr.textContent.toLowerCase()};
    });
    types = makeHeaders(table, function (col, sign) {
      items.forEach(function (item) {
        if (!item.keys) item.keys = [];
        item.keys[col] = domKey(types[col], item.tr.cells[col]);
      });
      sortItems(items, col, sign);
      items.forEach(function (item) { body.appendChild(item.tr); });
    });
    var input = searchBox(table);
    if (input) input.addEventListener("input", function () {
      var q = input.value.trim().toLowerCase();
      items.forEach(function (item) { item.tr.hidden = q !== "" && item.text.indexOf(q) < 0; });
    });
  }

  // A long table: every row, from its rows file, and one page of them shown at a time.
  function dataTable(table, rows, types, input) {
    var size = 100, page = 0;
    var items = rows.map(function (row, at) {
      var search = [];
      row.forEach(function (value, col) {
        var t = types[col];
        if (t === "player") search.push(visible(value[1]));
        else if (t !== "num") search.push(visible(String(value)));
      });
      return {row: row, at: at, search: search.join("\n").toLowerCase(),
              keys: row.map(function (value, col) { return keyOf(types[col], value); })};
    });
    var shown = items;
    var body = table.tBodies[0];
    var show = pageBar(table, function (step) { page += step; render(); });
    document.querySelectorAll("nav.pager").forEach(function (nav) { nav.hidden = true; });
    function cell(type, value) {
      var td = document.createElement("td");
      if (type === "player") {
        var a = document.createElement("a");
        a.href = playerHref(table, value);
        a.appendChild(nameNode(String(value[1]), true));
        td.appendChild(a);
      } else if (type === "name") {
        td.appendChild(nameNode(String(value), false));
      } else {
        td.textContent = String(value);
      }
      return td;
    }
    function render() {
      var pages = Math.max(1, Math.ceil(shown.length / size));
      if (page >= pages) page = pages - 1;
      var fragment = document.createDocumentFragment();
      shown.slice(page * size, page * size + size).forEach(function (item) {
        var tr = document.createElement("tr");
        item.row.forEach(function (value, col) { tr.appendChild(cell(types[col], value)); });
        fragment.appendChild(tr);
      });
      body.replaceChildren(fragment);
      show(page, pages, shown.length === 0 ? 0 : page * size + 1,
           Math.min(shown.length, page * size + size), shown.length, items.length);
    }
    function filter() {
      var q = input ? input.value.trim().toLowerCase() : "";
      shown = q === "" ? items : items.filter(function (item) { return item.search.indexOf(q) >= 0; });
      render();
    }
    return {
      sort: function (col, sign) { sortItems(items, col, sign); filter(); },
      search: function () { page = 0; filter(); }
    };
  }

  // Rows files call qlaRows(table, rows, lookups); lookups[col], where given, lists the values
  // that column's numbers stand for.
  var waiting = {};
  function loadScript(file) {
    var script = document.createElement("script");
    script.src = file;
    document.head.appendChild(script);
  }
  window.qlaRows = function (id, rows, lookups) {
    var take = waiting[id];
    if (!take) return;
    delete waiting[id];
    lookups.forEach(function (list, col) {
      if (list) rows.forEach(function (row) { row[col] = list[row[col]]; });
    });
    take(rows);
  };

  // The "Previous", "n-m of k" and "Next" bar under a table shown a page at a time.
  function pageBar(table, onMove) {
    var bar = document.createElement("div");
    bar.className = "pages";
    var previous = document.createElement("button"), next = document.createElement("button");
    var status = document.createElement("span");
    previous.type = next.type = "button";
    previous.textContent = "Previous";
    next.textContent = "Next";
    status.setAttribute("aria-live", "polite");
    bar.appendChild(previous);
    bar.appendChild(status);
    bar.appendChild(next);
    table.closest(".scroll").after(bar);
    previous.addEventListener("click", function () { onMove(-1); });
    next.addEventListener("click", function () { onMove(1); });
    return function (page, pages, first, last, count, of) {
      status.textContent = first + "\u2013" + last + " of " + count +
        (count !== of ? " (of " + of + ")" : "");
      previous.disabled = page === 0;
      next.disabled = page >= pages - 1;
    };
  }

  // A log's chat: every message is in the page, in groups of rows that are shown one at a time.
  // Sorting and searching show copies of the rows chosen, a group's size at a time. A speaker's
  // cell names his link in the table's list; the rows shown get it.
  function pagedTable(table) {
    var size = Number(table.getAttribute("data-page-size")) || 1000;
    var groups = Array.prototype.slice.call(table.tBodies), root = table.getAttribute("data-root") || "";
    var speakers = (table.getAttribute("data-speakers") || "").split(" ");
    var items = null, shown = null, sorted = false, page = 0, count = 0;
    groups.forEach(function (body) { count += body.rows.length; });
    var view = document.createElement("tbody");
    view.hidden = true;
    table.appendChild(view);
    function linkSpeakers(body) {
      Array.prototype.forEach.call(body.rows, function (tr) {
        var td = tr.cells[1], s = td && td.getAttribute("data-s");
        if (s === null || s === undefined || (td.firstChild && td.firstChild.nodeName === "A")) return;
        var a = document.createElement("a");
        a.href = root + speakers[Number(s)];
        while (td.firstChild) a.appendChild(td.firstChild);
        td.appendChild(a);
      });
    }
    function gather() {
      if (items) return items;
      items = [];
      groups.forEach(function (body) {
        Array.prototype.forEach.call(body.rows, function (tr) {
          items.push({tr: tr, at: items.length, text: tr.textContent.toLowerCase(), keys: []});
        });
      });
      return items;
    }
    var show = pageBar(table, function (step) { page += step; render(); });
    function render() {
      var total = shown ? shown.length : count, pages = Math.max(1, Math.ceil(total / size));
      if (page >= pages) page = pages - 1;
      if (page < 0) page = 0;
      groups.forEach(function (body, at) { body.hidden = shown !== null || at !== page; });
      view.hidden = shown === null;
      if (shown === null) {
        if (groups[page]) linkSpeakers(groups[page]);
      } else {
        var fragment = document.createDocumentFragment();
        shown.slice(page * size, page * size + size).forEach(function (item) {
          fragment.appendChild(item.tr.cloneNode(true));
        });
        view.replaceChildren(fragment);
        linkSpeakers(view);
      }
      show(page, pages, total === 0 ? 0 : page * size + 1, Math.min(total, page * size + size),
           total, count);
    }
    var input = searchBox(table);
    function filter() {
      var q = input ? input.value.trim().toLowerCase() : "";
      if (q === "" && !sorted) shown = null;
      else shown = q === "" ? gather() : gather().filter(function (item) { return item.text.indexOf(q) >= 0; });
      render();
    }
    var types = makeHeaders(table, function (col, sign) {
      gather().forEach(function (item) {
        if (item.keys[col] === undefined) item.keys[col] = domKey(types[col], item.tr.cells[col]);
      });
      sortItems(items, col, sign);
      sorted = !(col === 0 && sign === 1);
      if (!sorted) items.sort(function (a, b) { return a.at - b.at; });
      page = 0;
      filter();
    });
    if (input) {
      // The rows' texts are gathered once, when the reader first goes to the box.
      input.addEventListener("focus", gather);
      input.addEventListener("input", function () { page = 0; filter(); });
    }
    render();
    // The style sheet showed the first group alone; from now on the groups' hidden flags do.
    table.classList.add("paged");
  }

  // A long table shows its page of rows as written until the reader sorts or searches; then its
  // rows file is loaded, so opening a page never waits for every row.
  function lazyTable(table, file) {
    var view = null, pending = null, requested = false, input = searchBox(table);
    function load() {
      if (requested) return;
      requested = true;
      waiting[table.id] = function (rows) {
        view = dataTable(table, rows, types, input);
        if (pending) view.sort(pending[0], pending[1]); else view.search();
        table.setAttribute("data-loaded", "");
      };
      loadScript(file);
    }
    var types = makeHeaders(table, function (col, sign) {
      if (view) view.sort(col, sign); else { pending = [col, sign]; load(); }
    });
    if (input) {
      input.addEventListener("focus", load);
      input.addEventListener("input", function () { if (view) view.search(); else load(); });
    }
  }

  document.querySelectorAll("table.sortable").forEach(function (table) {
    var file = table.getAttribute("data-rows");
    if (table.hasAttribute("data-page-size")) pagedTable(table);
    else if (file) lazyTable(table, file);
    else domTable(table);
  });
})();
