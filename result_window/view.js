// The result view: draws the rows of the page near what is in sight into the box #rows, which has
// the whole page's size, and drops those that move away. Rows are 2 CSS pixels high; each is
// drawn with its own markup, in blocks of rows one under the other below a spacer, so that it
// looks as in the whole page. A colored row is a table of its own and, when the page is wider
// than the window, is cut to the cells near the window; a B&W row, a line of the page's one
// table, goes whole, in a one-row table of that table's start tag.
'use strict';
addEventListener('DOMContentLoaded', () => {
  const box = document.getElementById('rows');
  const rowCount = +box.dataset.rows;
  const width = parseFloat(box.style.width);
  const bwTable = box.dataset.table.replace(/ height=\d+/, ' height=2');
  const kRows = 16;    // rows fetched and drawn together
  const kCells = 32;   // cells of a colored row drawn together
  const kWhole = -1;   // the column block of whole rows
  const blocks = new Map();  // row block → {lines, rows, element, columns drawn}
  const textWidths = new Map();  // a cell's characters → their width, measured once
  const spacer = box.appendChild(document.createElement('div'));
  const view = {};
  window.stipplorView = view;

  // A colored row: the table start up to its "<tr>", its cells, and for each cell the cell
  // column it starts at and its left edge in pixels.
  function ColoredRow(line) {
    const open = line.indexOf('<tr>') + 4;
    const prefix = line.slice(0, open);
    const cells = line.slice(open, line.lastIndexOf('</tr>')).split('</td>');
    cells.pop();
    const columns = [0];
    for (const cell of cells) {
      const span = /^<td width=(\d+)/.exec(cell);
      columns.push(columns[columns.length - 1] + (span ? span[1] / 2 : 1));
    }
    return {prefix, cells, columns, ...Lefts(prefix, cells, columns)};
  }

  // Cells without characters, or in the pixel font's fixed layout, are 2 pixels a cell column.
  // Cells with characters in an automatic layout get the browser's share of the table's width:
  // their content's width, measured in the row's own style, and of what the table has more,
  // each a part in proportion to that width, rounded down to the layout's 1/64 pixel; the last
  // one takes what is left. Cells given a width keep it.
  function Lefts(prefix, cells, columns) {
    if (!cells.some(cell => cell.includes('<font')) || FixedLayout(prefix)) {
      return {lefts: columns.map(c => 2 * c)};
    }
    const texts = cells.map(cell => cell.slice(cell.indexOf('>') + 1).replace(/<[^>]*>/g, ''));
    Measure(prefix, texts);
    // In 1/64 pixels.
    const fixed = cells.map(cell => /^<td width=(\d+)/.exec(cell));
    const wants = cells.map((cell, i) => Math.max(fixed[i] ? 64 * fixed[i][1] : 0,
                                                  textWidths.get(texts[i])));
    const widths = wants.slice();
    let autoWants = 0, lastAuto = -1, given = 0;
    wants.forEach((want, i) => {
      if (!fixed[i]) autoWants += want, lastAuto = i;
    });
    const more = 64 * width - wants.reduce((a, b) => a + b, 0);
    if (more > 0 && autoWants > 0) {
      wants.forEach((want, i) => {
        if (fixed[i] || i === lastAuto) return;
        const part = Math.floor(more * want / autoWants);
        widths[i] += part;
        given += part;
      });
      widths[lastAuto] += more - given;
    }
    const lefts = [0];
    for (const w of widths) lefts.push(lefts[lefts.length - 1] + w / 64);
    return {lefts, widths};
  }

  let fixedLayout;
  function FixedLayout(prefix) {
    if (fixedLayout === undefined) {
      const probe = Probe(prefix + '</tr></table>');
      fixedLayout = getComputedStyle(probe.firstElementChild).tableLayout === 'fixed';
      probe.remove();
    }
    return fixedLayout;
  }

  function Probe(markup) {
    const probe = document.createElement('div');
    probe.style.cssText = 'position:absolute;visibility:hidden;width:100000px';
    probe.innerHTML = markup;
    box.appendChild(probe);
    return probe;
  }

  function Measure(prefix, texts) {
    const unknown = [...new Set(texts.filter(text => !textWidths.has(text)))];
    if (unknown.length === 0) return;
    const start = prefix.replace(/ width=\d+/, '');
    const probe = Probe(unknown.map(text => start + '<td>' + text + '</td></tr></table>').join(''));
    probe.querySelectorAll('td').forEach((td, i) => {
      textWidths.set(unknown[i], Math.round(64 * td.getBoundingClientRect().width));
    });
    probe.remove();
  }

  // The markup and left edge of the cells of a row that reach into column blocks first..last.
  // Cells whose width the whole row decides get that width.
  function Piece(row, first, last) {
    const from = row.columns.findIndex(c => c > first * kCells) - 1;
    let to = row.columns.findIndex(c => c >= (last + 1) * kCells);
    if (to < 0) to = row.cells.length;
    if (from < 0 || from >= to) return {left: 0, markup: ''};
    const left = row.lefts[from];
    let cells = row.cells.slice(from, to);
    if (row.widths) {
      cells = cells.map((cell, i) => '<td style=width:' + row.widths[from + i] / 64 + 'px' +
                                     cell.slice(3));
    }
    cells = cells.join('</td>') + '</td>';
    const prefix = row.prefix.replace(/ width=\d+/, ' width=' + (row.lefts[to] - left));
    return {left, markup: prefix + cells + '</tr></table>'};
  }

  // Draws a row block's rows, whole or cut to column blocks first..last, one under the other as
  // in the whole page: so the browser paints every row's cells before any row's characters,
  // which reach into the rows beside.
  function Draw(entry, first, last) {
    let markup = '';
    entry.lines.forEach((line, i) => {
      if (first === kWhole) {
        markup += bwTable ? bwTable + line + '</table>' : line;
      } else {
        const piece = Piece(entry.rows[i] ??= ColoredRow(line), first, last);
        markup += '<div style="height:2px;text-align:left;margin-left:' + piece.left + 'px">' +
            piece.markup + '</div>';
      }
    });
    entry.element.innerHTML = markup;
    entry.columns = first + ':' + last;
  }

  // A row block's box, of its rows' height, which its rows fill once they come.
  function Fetch(block) {
    const from = block * kRows;
    const element = document.createElement('div');
    element.style.height = 2 * Math.min(kRows, rowCount - from) + 'px';
    const entry = {lines: null, rows: [], element, columns: null};
    blocks.set(block, entry);
    // XMLHttpRequest, as this browser's fetch() serves only its own schemes.
    const request = new XMLHttpRequest();
    request.open('GET', 'rows?from=' + from + '&to=' + (from + kRows));
    request.onloadend = () => {
      entry.lines = request.status === 200 ? request.responseText.split('\r\n') : [''];
      entry.lines.pop();
      if (blocks.get(block) === entry) Update();
    };
    request.send();
    return entry;
  }

  // The row blocks and column blocks near the window; the column blocks are kWhole when they
  // make whole rows, which are drawn as they are.
  function Wanted() {
    const rect = box.getBoundingClientRect();
    const scale = rect.width > 0 ? width / rect.width : 1;
    // Only what touches the window, with no margin: the browser's time and memory follow the
    // cells drawn, and the blocks are small enough to draw as they come into sight.
    const x0 = -rect.left * scale, x1 = (innerWidth - rect.left) * scale;
    const y0 = -rect.top * scale, y1 = (innerHeight - rect.top) * scale;
    const firstBlock = Math.max(0, Math.floor(y0 / (2 * kRows)));
    const lastBlock = Math.min(Math.ceil(rowCount / kRows) - 1, Math.floor(y1 / (2 * kRows)));
    const columnBlocks = Math.max(1, Math.ceil(width / (2 * kCells)));
    const firstColumn = Math.max(0, Math.floor(x0 / (2 * kCells)));
    const lastColumn = Math.min(columnBlocks - 1, Math.floor(x1 / (2 * kCells)));
    if (bwTable || (firstColumn === 0 && lastColumn === columnBlocks - 1)) {
      return {firstBlock, lastBlock, firstColumn: kWhole, lastColumn: kWhole};
    }
    return {firstBlock, lastBlock, firstColumn, lastColumn};
  }

  // Keeps the row blocks near the window, in order below a spacer as high as the rows above
  // them, each drawn for the column blocks near the window.
  function Update() {
    const {firstBlock, lastBlock, firstColumn, lastColumn} = Wanted();
    for (const [block, entry] of blocks) {
      if (block < firstBlock || block > lastBlock) {
        entry.element.remove();
        blocks.delete(block);
      }
    }
    spacer.style.height = 2 * kRows * Math.max(0, firstBlock) + 'px';
    let below = null;
    for (let block = lastBlock; block >= firstBlock; --block) {
      let entry = blocks.get(block);
      if (!entry) {
        entry = Fetch(block);
        box.insertBefore(entry.element, below);
      }
      below = entry.element;
      if (entry.lines && entry.columns !== firstColumn + ':' + lastColumn) {
        Draw(entry, firstColumn, lastColumn);
      }
    }
  }

  // Whether every block near the window is drawn, wherever it was scrolled to last.
  view.drawn = () => {
    const {firstBlock, lastBlock, firstColumn, lastColumn} = Wanted();
    for (let block = firstBlock; block <= lastBlock; ++block) {
      if (blocks.get(block)?.columns !== firstColumn + ':' + lastColumn) return false;
    }
    return true;
  };
  view.setZoom = zoom => {
    document.documentElement.style.zoom = zoom;
    Update();
  };
  addEventListener('scroll', Update);
  addEventListener('resize', Update);
  Update();
});
