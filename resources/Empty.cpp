// Keeps the resource library non-empty before any asset is added.
namespace mapolin_resources_anchor {}
