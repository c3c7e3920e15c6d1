// Part of the program's module (linked with --pre-js): before main() runs,
// the page's folder is loaded from IndexedDB and made the current directory.
// A folder seen for the first time starts with one empty logfile.txt. The
// page reaches the folder through Module.zvFolder.
(function () {
  var ROOT = '/store';
  var FOLDER = ROOT + '/folder';
  var storing = Promise.resolve();

  function sync(populate) {
    return new Promise(function (resolve, reject) {
      FS.syncfs(populate, function (error) {
        if (error) reject(error);
        else resolve();
      });
    });
  }

  // Every file under the folder, as [{name, size, time}], names relative to it.
  function list() {
    var files = [];
    (function walk(dir, prefix) {
      FS.readdir(dir).forEach(function (entry) {
        if (entry === '.' || entry === '..') return;
        var stat = FS.stat(dir + '/' + entry);
        if (FS.isDir(stat.mode)) walk(dir + '/' + entry, prefix + entry + '/');
        else files.push({ name: prefix + entry, size: stat.size, time: stat.mtime.getTime() });
      });
    })(FOLDER, '');
    return files;
  }

  function removeTree(dir) {
    FS.readdir(dir).forEach(function (entry) {
      if (entry === '.' || entry === '..') return;
      var path = dir + '/' + entry;
      if (FS.isDir(FS.stat(path).mode)) {
        removeTree(path);
        FS.rmdir(path);
      } else {
        FS.unlink(path);
      }
    });
  }

  Module.zvFolder = {
    list: list,
    read: function (name) { return FS.readFile(FOLDER + '/' + name); },
    remove: function (name) { FS.unlink(FOLDER + '/' + name); },
    clear: function () {
      removeTree(FOLDER);
      FS.writeFile(FOLDER + '/logfile.txt', new Uint8Array(0));
    },
    // Writes the folder to IndexedDB; resolves once the browser has it.
    store: function () {
      storing = storing.then(function () { return sync(false); });
      return storing;
    },
  };

  Module.preRun = [].concat(Module.preRun || []);
  Module.preRun.push(function () {
    addRunDependency('zv-folder');
    FS.mkdir(ROOT);
    FS.mount(FS.filesystems.IDBFS, {}, ROOT);
    sync(true)
      .catch(function (error) {
        if (Module.zvStorageError) Module.zvStorageError(error);
      })
      .then(function () {
        if (!FS.analyzePath(FOLDER).exists) {
          FS.mkdir(FOLDER);
          FS.writeFile(FOLDER + '/logfile.txt', new Uint8Array(0));
        }
        FS.chdir(FOLDER);
        if (Module.zvFolderLoaded) Module.zvFolderLoaded();
        removeRunDependency('zv-folder');
      });
  });
})();
