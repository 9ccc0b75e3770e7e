// Single-port block RAM core of the block_ram_sp IP. Parameters and ports follow the
// component file; the generated wrapper instantiates this module.
module block_ram_sp_core #(
    parameter integer DATA_WIDTH = 18,
    parameter integer DEPTH = 1024,
    // what dout shows after a write: "write_first" the new word, "read_first" the
    // word it replaced, "no_change" what it showed before
    parameter WRITE_MODE = "write_first",
    // 1: one more register after the memory, so dout comes two clocks after addr
    parameter integer OUTPUT_REGISTER = 1,
    // initial contents, one hexadecimal word a line ($readmemh); empty for zeros
    parameter INIT_FILE = ""
) (
    input  wire                     clk,
    input  wire                     en,
    input  wire                     we,
    input  wire [$clog2(DEPTH)-1:0] addr,
    input  wire [DATA_WIDTH-1:0]    din,
    output wire [DATA_WIDTH-1:0]    dout
);
    reg [DATA_WIDTH-1:0] mem[0:DEPTH-1];
    reg [DATA_WIDTH-1:0] ram_out = {DATA_WIDTH{1'b0}};
    reg [DATA_WIDTH-1:0] out_reg = {DATA_WIDTH{1'b0}};

    integer i;
    initial begin
        for (i = 0; i < DEPTH; i = i + 1) mem[i] = {DATA_WIDTH{1'b0}};
        if (INIT_FILE != "") $readmemh(INIT_FILE, mem);
    end

    always @(posedge clk) begin
        if (en) begin
            if (we) begin
                mem[addr] <= din;
                if (WRITE_MODE == "write_first")
                    ram_out <= din;
                else if (WRITE_MODE == "read_first")
                    ram_out <= mem[addr];
            end else
                ram_out <= mem[addr];
        end
        out_reg <= ram_out;
    end

    assign dout = (OUTPUT_REGISTER != 0) ? out_reg : ram_out;
endmodule
