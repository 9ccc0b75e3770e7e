// Synchronous FIFO core of fifo_sync 1.0. Parameters and ports follow that version's
// component file; the generated wrapper instantiates this module. Version 2.1 keeps its
// own core one directory up.
module fifo_sync_core #(
    parameter integer DATA_WIDTH = 8,
    // a power of two: the pointers wrap by overflowing
    parameter integer DEPTH = 512
) (
    input  wire                  clk,
    input  wire                  rst,
    input  wire                  wr_en,
    input  wire [DATA_WIDTH-1:0] din,
    output wire                  full,
    input  wire                  rd_en,
    output reg  [DATA_WIDTH-1:0] dout,
    output wire                  empty
);
    localparam integer AW = $clog2(DEPTH);

    reg [DATA_WIDTH-1:0] mem[0:DEPTH-1];
    // One bit wider than the address, so that full and empty differ.
    reg [AW:0] wr_ptr = {(AW + 1) {1'b0}};
    reg [AW:0] rd_ptr = {(AW + 1) {1'b0}};
    wire [AW:0] count = wr_ptr - rd_ptr;

    initial dout = {DATA_WIDTH{1'b0}};

    assign full  = count == DEPTH;
    assign empty = count == 0;

    // dout follows a read one clock later. A write when full and a read when empty are
    // ignored.
    always @(posedge clk) begin
        if (rst) begin
            wr_ptr <= {(AW + 1) {1'b0}};
            rd_ptr <= {(AW + 1) {1'b0}};
        end else begin
            if (wr_en && !full) begin
                mem[wr_ptr[AW-1:0]] <= din;
                wr_ptr <= wr_ptr + 1'b1;
            end
            if (rd_en && !empty) begin
                dout   <= mem[rd_ptr[AW-1:0]];
                rd_ptr <= rd_ptr + 1'b1;
            end
        end
    end
endmodule
