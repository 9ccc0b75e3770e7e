// Asynchronous FIFO core of the fifo_async IP. Parameters and ports follow the
// component file; the generated wrapper instantiates this module.
//
// Each side keeps a binary pointer one bit wider than the address and a Gray-coded
// copy of it; only the Gray copy crosses to the other clock, through SYNC_STAGES
// flip-flops, so a pointer sampled mid-change is off by at most one step and the
// flags err on the safe side (full and empty may linger, never come late).
module fifo_async_core #(
    parameter integer DATA_WIDTH = 16,
    // a power of two: the pointers wrap by overflowing
    parameter integer DEPTH = 256,
    // flip-flops that carry each pointer into the other clock domain
    parameter integer SYNC_STAGES = 2
) (
    input  wire                  wr_clk,
    input  wire                  wr_rst,
    input  wire                  wr_en,
    input  wire [DATA_WIDTH-1:0] din,
    output wire                  full,
    input  wire                  rd_clk,
    input  wire                  rd_rst,
    input  wire                  rd_en,
    output reg  [DATA_WIDTH-1:0] dout,
    output wire                  empty
);
    localparam integer AW = $clog2(DEPTH);

    reg [DATA_WIDTH-1:0] mem[0:DEPTH-1];

    reg  [AW:0] wr_bin = 0, wr_gray = 0;
    reg  [AW:0] rd_bin = 0, rd_gray = 0;
    // Synchronizer chains; element SYNC_STAGES-1 is the one the other side uses.
    reg  [AW:0] rd_gray_sync[0:SYNC_STAGES-1];
    reg  [AW:0] wr_gray_sync[0:SYNC_STAGES-1];

    wire [AW:0] wr_bin_next  = wr_bin + ((wr_en && !full) ? 1'b1 : 1'b0);
    wire [AW:0] wr_gray_next = (wr_bin_next >> 1) ^ wr_bin_next;
    wire [AW:0] rd_bin_next  = rd_bin + ((rd_en && !empty) ? 1'b1 : 1'b0);
    wire [AW:0] rd_gray_next = (rd_bin_next >> 1) ^ rd_bin_next;

    // Full: the write pointer is one lap ahead, which in Gray code means the two top
    // bits inverted and the rest equal.
    assign full  = wr_gray == {~rd_gray_sync[SYNC_STAGES-1][AW:AW-1], rd_gray_sync[SYNC_STAGES-1][AW-2:0]};
    assign empty = rd_gray == wr_gray_sync[SYNC_STAGES-1];

    integer i;
    initial begin
        dout = {DATA_WIDTH{1'b0}};
        for (i = 0; i < SYNC_STAGES; i = i + 1) begin
            rd_gray_sync[i] = 0;
            wr_gray_sync[i] = 0;
        end
    end

    always @(posedge wr_clk) begin
        if (wr_rst) begin
            wr_bin  <= 0;
            wr_gray <= 0;
            for (i = 0; i < SYNC_STAGES; i = i + 1) rd_gray_sync[i] <= 0;
        end else begin
            if (wr_en && !full) mem[wr_bin[AW-1:0]] <= din;
            wr_bin  <= wr_bin_next;
            wr_gray <= wr_gray_next;
            rd_gray_sync[0] <= rd_gray;
            for (i = 1; i < SYNC_STAGES; i = i + 1) rd_gray_sync[i] <= rd_gray_sync[i-1];
        end
    end

    always @(posedge rd_clk) begin
        if (rd_rst) begin
            rd_bin  <= 0;
            rd_gray <= 0;
            for (i = 0; i < SYNC_STAGES; i = i + 1) wr_gray_sync[i] <= 0;
        end else begin
            if (rd_en && !empty) dout <= mem[rd_bin[AW-1:0]];
            rd_bin  <= rd_bin_next;
            rd_gray <= rd_gray_next;
            wr_gray_sync[0] <= wr_gray;
            for (i = 1; i < SYNC_STAGES; i = i + 1) wr_gray_sync[i] <= wr_gray_sync[i-1];
        end
    end
endmodule
